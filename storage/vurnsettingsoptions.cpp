// The other-settings tab's values in the [General] group of "Vurn.ini".
#include "storage/vurnsettings.h"

QList<int> vurnSettings::snoozeMinuteItems()
{
    return {5, 10, 15, 20, 30};
}

QList<int> vurnSettings::catchUpMinuteItems()
{
    return {0, 15, 30, 60, 120};
}

int vurnSettings::loadSnoozeMinutes() const
{
    return listedValue(QStringLiteral("SnoozeMinutes"), snoozeMinuteItems(), 10);
}

void vurnSettings::saveSnoozeMinutes(int minutes)
{
    setGeneralValue(QStringLiteral("SnoozeMinutes"), minutes);
}

int vurnSettings::loadCatchUpMinutes() const
{
    return listedValue(QStringLiteral("CatchUpMinutes"), catchUpMinuteItems(), 60);
}

void vurnSettings::saveCatchUpMinutes(int minutes)
{
    setGeneralValue(QStringLiteral("CatchUpMinutes"), minutes);
}

bool vurnSettings::loadKeepRunningInTray() const
{
    return generalFlag(QStringLiteral("KeepRunningInTray"), true);
}

void vurnSettings::saveKeepRunningInTray(bool keep)
{
    setGeneralValue(QStringLiteral("KeepRunningInTray"), keep);
}

bool vurnSettings::loadStayAwakeForAlarms() const
{
    return generalFlag(QStringLiteral("StayAwakeForAlarms"), false);
}

void vurnSettings::saveStayAwakeForAlarms(bool stayAwake)
{
    setGeneralValue(QStringLiteral("StayAwakeForAlarms"), stayAwake);
}

bool vurnSettings::loadWakeFromSleep() const
{
    return generalFlag(QStringLiteral("WakeFromSleep"), true);
}

void vurnSettings::saveWakeFromSleep(bool wake)
{
    setGeneralValue(QStringLiteral("WakeFromSleep"), wake);
}

QStringList vurnSettings::replayGainModes()
{
    return {QStringLiteral("off"), QStringLiteral("track"), QStringLiteral("album")};
}

QString vurnSettings::loadReplayGain() const
{
    const QString stored = generalValue(QStringLiteral("ReplayGain")).toString();
    return replayGainModes().contains(stored) ? stored : QStringLiteral("track");
}

void vurnSettings::saveReplayGain(const QString &mode)
{
    setGeneralValue(QStringLiteral("ReplayGain"), mode);
}

int vurnSettings::loadReplayGainPreAmp() const
{
    bool ok = false;
    const int stored = generalValue(QStringLiteral("ReplayGainPreAmp")).toInt(&ok);
    return ok ? qBound(-15, stored, 15) : 0;
}

void vurnSettings::saveReplayGainPreAmp(int decibels)
{
    setGeneralValue(QStringLiteral("ReplayGainPreAmp"), decibels);
}

bool vurnSettings::loadUnmuteForAlarms() const
{
    return generalFlag(QStringLiteral("UnmuteForAlarms"), true);
}

void vurnSettings::saveUnmuteForAlarms(bool unmute)
{
    setGeneralValue(QStringLiteral("UnmuteForAlarms"), unmute);
}

bool vurnSettings::loadAutostartOffered() const
{
    return generalFlag(QStringLiteral("AutostartOffered"), false);
}

void vurnSettings::saveAutostartOffered(bool offered)
{
    setGeneralValue(QStringLiteral("AutostartOffered"), offered);
}
