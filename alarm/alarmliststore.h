#pragma once

class alarmList;
class vurnSettings;

// The alarms' groups Alarm0, Alarm1, ... of "Vurn.ini". The alarms ask the
// state file for them, so that the state file knows nothing of alarms.
class alarmListStore
{
public:
    // A new list, a child of `settings`; empty when no file is open.
    static alarmList *load(vurnSettings &settings);
    static void save(vurnSettings &settings, const alarmList *alarms);
};
