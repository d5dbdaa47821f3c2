#pragma once

#include "library/musicinfo.h"

#include <QList>
#include <QString>

// What replaced the list that is kept.
enum class setAsideCause { Alarm, Load, Clear, Restore };

// The list the latest replacement of the main window's list took away (an
// alarm's playlist, a saved playlist loaded over it, Clear, or bringing back
// the list kept before), kept on disk so that "戻す" can bring it back, also
// after a restart. One level only: bringing it back keeps the list it
// replaces in turn, so that a second "戻す" swaps back.
class setAsideList
{
public:
    // Reads what is kept on disk; a list an earlier version set aside for an
    // alarm counts as kept by an alarm.
    setAsideList();

    bool has() const;
    int count() const;
    setAsideCause cause() const;
    // The saved playlist whose load replaced the kept list.
    QString loadedName() const;

    // Keeps `replaced` in place of whatever was kept. False when it could
    // not be written (the earlier list then stays kept).
    bool keep(const QList<storedTrack> &replaced, setAsideCause why, const QString &name = QString());
    // The kept list, with `current` kept in its place.
    QList<storedTrack> swap(const QList<storedTrack> &current);

    // What "戻す" brings back, as its tooltip says it.
    QString description() const;

private:
    bool kept = false;
    int keptCount = 0;
    setAsideCause keptCause = setAsideCause::Alarm;
    QString keptName;
};
