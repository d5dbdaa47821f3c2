#include "app/qtcatalogue.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

qtCatalogue::qtCatalogue(QObject *parent) : QObject(parent)
{
}

qtCatalogue::~qtCatalogue()
{
    if (translator)
        QCoreApplication::removeTranslator(translator);
}

QString qtCatalogue::folder()
{
    return QLibraryInfo::location(QLibraryInfo::TranslationsPath);
}

bool qtCatalogue::show(const QLocale &language)
{
    if (translator) {
        QCoreApplication::removeTranslator(translator);
        delete translator;
        translator = nullptr;
    }
    // "qtbase" holds the widgets' texts; qtbase_ja_JP.qm, then qtbase_ja.qm.
    auto *loaded = new QTranslator(this);
    if (!loaded->load(language, QStringLiteral("qtbase"), QStringLiteral("_"), folder())) {
        delete loaded;
        return false;
    }
    translator = loaded;
    QCoreApplication::installTranslator(translator);
    return true;
}
