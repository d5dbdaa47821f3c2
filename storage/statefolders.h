#pragma once

#include <QString>

// Where "Vurn.ini" and the saved playlists live. A portable copy keeps them
// beside the executable: its folder already holds a "Vurn.ini" or a marker
// file named "portable", or it is a build tree. An installed copy keeps the
// settings in the user's configuration folder and the playlists in the
// user's data folder, whoever runs it and whether or not its folder is
// writable.
class stateFolders
{
public:
    // The folder of "Vurn.ini".
    static QString settingsFolder();
    // The folder that holds "playlists/".
    static QString playlistParent();
    // Tests point both at a temporary folder; empty restores the default.
    static void setOverride(const QString &dir);

    static bool isPortableProgramFolder(const QString &programDir);
    // The program folder when it is portable and files can be created in it,
    // else userDir (created if missing).
    static QString choose(const QString &programDir, const QString &userDir);
    static bool canCreateFilesIn(const QString &dir);
};
