#pragma once

#include "library/musicinfo.h"

#include <QList>
#include <QString>

// What an alarm plays: the saved playlist it names, or, when that is the
// standard one or cannot be played, the main window's list (with a note
// saying why).
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
};
