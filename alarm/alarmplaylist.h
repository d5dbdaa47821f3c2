#pragma once

#include "engine/musicinfo.h"

#include <QList>
#include <QString>

// What an alarm plays: the saved playlist it names, or, when that is the
// standard one or cannot be played, the main window's list (with a note
// saying why). The person's own list is set aside on disk while an alarm
// plays its own, so that it survives a restart until it is taken back.
class alarmPlaylist
{
public:
    struct Choice
    {
        bool ownList = false;      // play `tracks` instead of the main window's list
        QList<storedTrack> tracks;
        QString note;              // for the ringing window; empty when all is well
    };
    static Choice choose(const QString &playListName);

    // Keeps the given list aside unless one is kept already (a second alarm
    // must not put its own playlist in place of the person's). `stillComing`
    // are the entries of a list that was still being added, after its tracks.
    static void setAside(const QList<musicInfo *> &tracks, const QList<storedTrack> &stillComing = {});
    static bool hasAside();
    // The list kept aside; it is no longer kept.
    static QList<storedTrack> takeAside();
};
