#include "storage/storedchoice.h"

#include <QCoreApplication>

namespace {

const char *const context = "storedChoice";

// Texts shown for a stored text of their own; their translations are looked
// up by the stored text itself.
const char *const wholeTexts[] = {
    QT_TRANSLATE_NOOP("storedChoice", "リピートなし"),     QT_TRANSLATE_NOOP("storedChoice", "1曲リピート"),
    QT_TRANSLATE_NOOP("storedChoice", "全曲リピート(>>)"), QT_TRANSLATE_NOOP("storedChoice", "全曲リピート(<<)"),
    QT_TRANSLATE_NOOP("storedChoice", "ランダム"),         QT_TRANSLATE_NOOP("storedChoice", "シャッフル"),
    QT_TRANSLATE_NOOP("storedChoice", "リピートなし：ランダム"), QT_TRANSLATE_NOOP("storedChoice", "しない"),
    QT_TRANSLATE_NOOP("storedChoice", "標準プレイリスト"),
};

const QString fadeInPrefix = QStringLiteral("フェードイン：");
const QString minutesSuffix = QStringLiteral("分");

// The digits after `prefix` and before `suffix`, or -1.
int numberBetween(const QString &text, const QString &prefix, const QString &suffix)
{
    if (!text.startsWith(prefix) || !text.endsWith(suffix) || text.size() <= prefix.size() + suffix.size())
        return -1;
    const QString digits = text.mid(prefix.size(), text.size() - prefix.size() - suffix.size());
    for (const QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    bool ok = false;
    const int number = digits.toInt(&ok, 10);
    return ok ? number : -1;
}

} // namespace

QString storedChoice::noRepeatFrom(int track)
{
    return noRepeatFromPrefix() + QString::number(track);
}

QString storedChoice::fadeIn(int minutes)
{
    return fadeInPrefix + QString::number(minutes) + minutesSuffix;
}

QString storedChoice::shown(const QString &stored)
{
    for (const char *text : wholeTexts)
        if (stored == QString::fromUtf8(text))
            return QCoreApplication::translate(context, text);
    const int track = numberBetween(stored, noRepeatFromPrefix(), QString());
    if (track >= 0)
        return QCoreApplication::translate("storedChoice", "リピートなし：%1").arg(track);
    const int minutes = numberBetween(stored, fadeInPrefix, minutesSuffix);
    if (minutes >= 0)
        return QCoreApplication::translate("storedChoice", "フェードイン：%n分", nullptr, minutes);
    return stored;
}
