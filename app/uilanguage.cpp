#include "app/uilanguage.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

// "ja-JP", "ja_JP.UTF-8" and "JA" are all "ja".
QString languagePart(const QString &name)
{
    QString part = name.trimmed().toLower();
    static const QRegularExpression separator(QStringLiteral("[-_.@]"));
    const int end = part.indexOf(separator);
    if (end >= 0)
        part.truncate(end);
    return part;
}

} // namespace

uiLanguage::Language uiLanguage::choose(const QStringList &preferred)
{
    bool otherLanguage = false;
    for (const QString &name : preferred) {
        const QString part = languagePart(name);
        if (part == QLatin1String("ja"))
            return Japanese;
        if (part == QLatin1String("en"))
            return English;
        // Qt puts "C" after a language it does not know; it says nothing.
        if (part.isEmpty() || part == QLatin1String("c") || part == QLatin1String("posix"))
            continue;
        otherLanguage = true;
    }
    return otherLanguage ? English : Japanese;
}

uiLanguage::Language uiLanguage::ofDesktop()
{
    return choose(QLocale::system().uiLanguages());
}

QString uiLanguage::code(Language language)
{
    return language == English ? QStringLiteral("en") : QStringLiteral("ja");
}
