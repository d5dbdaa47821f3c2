#pragma once

#include <QObject>

class QLocale;
class QTranslator;

// Qt's own texts (standard buttons, the file dialog) in the language the
// player shows, from the catalogues the system's Qt translations install.
class qtCatalogue : public QObject
{
    Q_OBJECT
public:
    explicit qtCatalogue(QObject *parent = nullptr);
    ~qtCatalogue() override;

    // Replaces what an earlier call installed. False, and Qt's texts left in
    // their own English, where no catalogue for the language is installed.
    bool show(const QLocale &language);
    // The folder the catalogues are looked for in.
    static QString folder();

private:
    QTranslator *translator = nullptr;
};
