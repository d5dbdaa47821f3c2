#pragma once

#include "app/uilanguage.h"

#include <memory>

class vurnCatalogue;

// Shows the player in a language while it lives, from the catalogue this
// build made (Japanese, the texts' own language, with Qt's Japanese beside).
class LanguageRig
{
public:
    explicit LanguageRig(uiLanguage::Language wanted);
    ~LanguageRig();

    // The language asked for is the one shown (the catalogue was found).
    bool isShown() const { return shown == wanted; }
    // The folder the build puts its catalogues in.
    static QString builtFolder();

private:
    std::unique_ptr<vurnCatalogue> catalogue;
    uiLanguage::Language wanted;
    uiLanguage::Language shown;
};
