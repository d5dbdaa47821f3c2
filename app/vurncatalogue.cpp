#include "app/vurncatalogue.h"

#include "app/qtcatalogue.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

namespace {

QStringList &foldersOverride()
{
    static QStringList folders;
    return folders;
}

QLocale localeOf(uiLanguage::Language language)
{
    return language == uiLanguage::English ? QLocale(QLocale::English, QLocale::UnitedStates)
                                           : QLocale(QLocale::Japanese, QLocale::Japan);
}

// Every catalogue translates this word into the name of its language; one
// that does not is damaged or not ours, and is not used.
const char *const probeContext = "vurnCatalogue";
const char *const probeText = QT_TRANSLATE_NOOP("vurnCatalogue", "日本語");

} // namespace

vurnCatalogue::vurnCatalogue(QObject *parent)
    : QObject(parent), qtTexts(new qtCatalogue(this))
{
}

vurnCatalogue::~vurnCatalogue()
{
    if (own)
        QCoreApplication::removeTranslator(own);
}

QStringList vurnCatalogue::folders()
{
    if (!foldersOverride().isEmpty())
        return foldersOverride();
    const QString beside = QCoreApplication::applicationDirPath();
    return {beside, beside + QStringLiteral("/translations"),
            QDir::cleanPath(beside + QStringLiteral("/../share/vurn/translations")),
            QStringLiteral("/usr/share/vurn/translations")};
}

void vurnCatalogue::setFoldersOverride(const QStringList &override)
{
    foldersOverride() = override;
}

bool vurnCatalogue::loadOwn(uiLanguage::Language language)
{
    const QString name = QStringLiteral("vurn_") + uiLanguage::code(language);
    for (const QString &folder : folders()) {
        auto *loaded = new QTranslator(this);
        if (loaded->load(name, folder) && !loaded->translate(probeContext, probeText).isEmpty()) {
            own = loaded;
            QCoreApplication::installTranslator(own);
            return true;
        }
        delete loaded;
    }
    return false;
}

uiLanguage::Language vurnCatalogue::show(uiLanguage::Language wanted)
{
    if (own) {
        QCoreApplication::removeTranslator(own);
        delete own;
        own = nullptr;
    }
    const uiLanguage::Language shown =
        wanted == uiLanguage::Japanese || loadOwn(wanted) ? wanted : uiLanguage::Japanese;
    // Qt's buttons speak the player's language, not the desktop's: a German
    // desktop gets English buttons beside English texts.
    qtTexts->show(localeOf(shown));
    return shown;
}

#include "moc_vurncatalogue.cpp"
