#include "support/languagerig.h"

#include "app/vurncatalogue.h"

#include <QString>

LanguageRig::LanguageRig(uiLanguage::Language language)
    : catalogue(std::make_unique<vurnCatalogue>()), wanted(language)
{
    vurnCatalogue::setFoldersOverride({builtFolder()});
    shown = catalogue->show(wanted);
}

LanguageRig::~LanguageRig()
{
    catalogue.reset();
    vurnCatalogue::setFoldersOverride({});
}

QString LanguageRig::builtFolder()
{
    return QString::fromLocal8Bit(qgetenv("VURN_TEST_BINARY_DIR")) + QStringLiteral("/translations");
}
