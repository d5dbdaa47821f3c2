#pragma once

#include <QDateTime>

#include <functional>

// The wall clock the alarm check reads. Tests replace it to walk through a week.
class alarmClock
{
public:
    static QDateTime now();
    static void setSource(std::function<QDateTime()> source); // empty restores the system clock
};
