#pragma once

#include <QStringList>

// Which of the player's two languages the desktop asks for. Japanese is the
// language the texts are written in; English is for everyone else.
class uiLanguage
{
public:
    enum Language { Japanese, English };

    // The desktop's languages in order of preference, as QLocale gives them
    // ("fr", "ja-JP", "C"): the first Japanese or English one wins; a list of
    // other languages only gives English; a list of nothing but the C or
    // POSIX locale (or an empty one) is a bare system and gives Japanese.
    static Language choose(const QStringList &preferred);
    // The same for the languages LANGUAGE, LC_ALL, LC_MESSAGES and LANG name.
    static Language ofDesktop();
    // "ja" or "en", as the catalogue files are named.
    static QString code(Language language);
};
