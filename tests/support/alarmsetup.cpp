#include "support/alarmsetup.h"

#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"

alarmList *makeAlarmList(QObject *parent, const QList<AlarmSetup> &setups)
{
    auto *list = new alarmList(parent);
    for (const AlarmSetup &setup : setups) {
        auto *alarm = new alarmOne(list);
        alarm->enabled = setup.enabled;
        alarm->hour = setup.time.left(2);
        alarm->minute = setup.time.mid(3, 2);
        for (const QChar day : setup.days)
            alarm->week[day.digitValue()] = true;
        alarm->playListName = setup.playList;
        alarm->playMode = setup.mode;
        alarm->firstPlay = setup.firstPlay;
        alarm->interrupt = setup.interrupt;
        alarm->volume = setup.volume;
        alarm->volumeControl = setup.control;
        list->append(alarm);
    }
    return list;
}
