#include "alarm/alarmclock.h"

namespace {
std::function<QDateTime()> &clockSource()
{
    static std::function<QDateTime()> source;
    return source;
}
} // namespace

QDateTime alarmClock::now()
{
    const auto &source = clockSource();
    return source ? source() : QDateTime::currentDateTime();
}

void alarmClock::setSource(std::function<QDateTime()> source)
{
    clockSource() = std::move(source);
}
