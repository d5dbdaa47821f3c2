#pragma once

#include "app/uilanguage.h"

#include <QObject>
#include <QStringList>

class QTranslator;
class qtCatalogue;

// The player's own texts in the language shown, and Qt's beside them. The
// texts are written in Japanese, so Japanese needs no catalogue of ours.
class vurnCatalogue : public QObject
{
    Q_OBJECT
public:
    explicit vurnCatalogue(QObject *parent = nullptr);
    ~vurnCatalogue() override;

    // Installs the catalogues for `wanted` and returns the language now
    // shown: Japanese where English was wanted but its catalogue is missing
    // or unreadable, so no text is ever blank. Replaces an earlier call's.
    uiLanguage::Language show(uiLanguage::Language wanted);
    // Where the catalogues are looked for, first match wins: beside the
    // executable or in translations/ there (a build, a portable copy), then
    // the installed share/vurn/translations.
    static QStringList folders();
    // Replaces folders() (tests); an empty list restores it.
    static void setFoldersOverride(const QStringList &override);

private:
    bool loadOwn(uiLanguage::Language language);

    QTranslator *own = nullptr;
    qtCatalogue *qtTexts = nullptr;
};
