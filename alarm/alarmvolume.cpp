#include "alarm/alarmvolume.h"

alarmVolume::Own::Own(alarmVolume &held)
    : volume(held)
{
    ++volume.ownChanges;
}

alarmVolume::Own::~Own()
{
    --volume.ownChanges;
}

void alarmVolume::take(int currentPercent)
{
    if (isHeld())
        return;
    before = currentPercent;
    moved = false;
}

bool alarmVolume::isHeld() const
{
    return before >= 0;
}

bool alarmVolume::noteChange()
{
    if (!isHeld() || ownChanges > 0)
        return false;
    moved = true;
    return true;
}

int alarmVolume::release()
{
    const int back = moved ? -1 : before;
    before = -1;
    moved = false;
    return back;
}

int alarmVolume::personPercent(int currentPercent) const
{
    return isHeld() && !moved ? before : currentPercent;
}
