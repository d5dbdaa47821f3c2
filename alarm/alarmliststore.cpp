#include "alarm/alarmliststore.h"

#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "storage/storedchoice.h"
#include "storage/vurnsettings.h"

#include <QSettings>
#include <QStringList>

namespace {

QString stringValue(const QSettings *store, const QString &key)
{
    const QVariant v = store->value(key);
    // A hand-edited value with an unquoted comma is read back as a list.
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.canConvert<QString>() ? v.toString() : QString();
}

bool boolValue(const QSettings *store, const QString &key, bool fallback)
{
    const QVariant v = store->value(key);
    return v.isValid() ? v.toBool() : fallback;
}

} // namespace

alarmList *alarmListStore::load(vurnSettings &settings)
{
    QSettings *store = settings.store;
    auto *alarms = new alarmList(&settings);
    if (!store)
        return alarms;
    for (int i = 0;; ++i) {
        auto *alarm = new alarmOne(alarms);
        store->beginGroup(QStringLiteral("Alarm") + QString::number(i));

        alarm->enabled = boolValue(store, QStringLiteral("Enabled"), true);

        // Hour and minute are whatever stands at 0-1 and 3-4; the separator is
        // skipped unseen and nothing is validated here.
        const QString time = stringValue(store, QStringLiteral("Time"));
        alarm->hour = time.mid(0, 2);
        alarm->minute = time.mid(3, 2);

        const QString week = stringValue(store, QStringLiteral("Week"));
        for (const QChar c : week) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('6'))
                alarm->week[c.unicode() - '0'] = true;
        }

        alarm->playListName = stringValue(store, QStringLiteral("PlayList"));
        alarm->playMode = stringValue(store, QStringLiteral("PlayMode"));
        alarm->firstPlay = boolValue(store, QStringLiteral("FirstPlay"), false);
        alarm->interrupt = boolValue(store, QStringLiteral("Interrupt"), false);
        alarm->volume = stringValue(store, QStringLiteral("Volume"));
        alarm->volumeControl = stringValue(store, QStringLiteral("VolumeControl"));
        store->endGroup();

        const bool anything = !alarm->enabled || !time.isEmpty() || !week.isEmpty()
            || !alarm->playListName.isEmpty() || !alarm->playMode.isEmpty()
            || !alarm->volume.isEmpty() || !alarm->volumeControl.isEmpty()
            || alarm->firstPlay || alarm->interrupt;
        if (!anything) {
            // A group at its defaults (or absent) ends the list; the unused
            // record stays a child of the list and goes with it.
            break;
        }
        alarms->append(alarm);
    }
    return alarms;
}

void alarmListStore::save(vurnSettings &settings, const alarmList *alarms)
{
    QSettings *store = settings.store;
    if (!store || !alarms)
        return;
    int i = 0;
    for (const alarmOne *alarm : *alarms) {
        store->beginGroup(QStringLiteral("Alarm") + QString::number(i));
        store->setValue(QStringLiteral("Enabled"), alarm->enabled);
        store->setValue(QStringLiteral("Time"), alarm->hour + QLatin1Char(':') + alarm->minute);
        QString week;
        for (int d = 0; d < 7; ++d) {
            if (alarm->week[d])
                week += QChar(QLatin1Char(char('0' + d)));
        }
        store->setValue(QStringLiteral("Week"), week);
        store->setValue(QStringLiteral("PlayList"),
                        alarm->playListName.isEmpty() ? storedChoice::standardPlayList() : alarm->playListName);
        store->setValue(QStringLiteral("PlayMode"), alarm->playMode);
        store->setValue(QStringLiteral("FirstPlay"), alarm->firstPlay);
        store->setValue(QStringLiteral("Interrupt"), alarm->interrupt);
        store->setValue(QStringLiteral("Volume"), alarm->volume);
        store->setValue(QStringLiteral("VolumeControl"), alarm->volumeControl);
        store->endGroup();
        ++i;
    }
}
