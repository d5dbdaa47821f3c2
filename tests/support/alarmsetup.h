#pragma once

#include <QList>
#include <QString>

class QObject;
class alarmList;

// One alarm as a test writes it down.
struct AlarmSetup
{
    QString time; // "HH:mm", or "" for empty hour and minute
    QString days; // digits 0 (Monday) .. 6 (Sunday)
    QString mode;
    bool enabled = true;
    bool firstPlay = false;
    bool interrupt = true;
    QString volume = QStringLiteral("しない");
    QString control = QStringLiteral("しない");
    QString playList = QStringLiteral("標準プレイリスト");
};

// A new alarm list (child of `parent`) holding the given alarms.
alarmList *makeAlarmList(QObject *parent, const QList<AlarmSetup> &setups);
