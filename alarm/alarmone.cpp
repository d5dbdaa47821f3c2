#include "alarm/alarmone.h"

#include <algorithm>

alarmOne::alarmOne(QObject *parent)
    : QObject(parent)
{
}

void alarmOne::assign(const alarmOne &other)
{
    enabled = other.enabled;
    hour = other.hour;
    minute = other.minute;
    std::copy(std::begin(other.week), std::end(other.week), std::begin(week));
    playListName = other.playListName;
    playMode = other.playMode;
    firstPlay = other.firstPlay;
    interrupt = other.interrupt;
    volume = other.volume;
    volumeControl = other.volumeControl;
}

bool alarmOne::sameSettings(const alarmOne &other) const
{
    return enabled == other.enabled && hour == other.hour && minute == other.minute
        && std::equal(std::begin(week), std::end(week), std::begin(other.week))
        && playListName == other.playListName && playMode == other.playMode && firstPlay == other.firstPlay
        && interrupt == other.interrupt && volume == other.volume && volumeControl == other.volumeControl;
}

#include "moc_alarmone.cpp"
