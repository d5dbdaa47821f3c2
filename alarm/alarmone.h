#pragma once

#include <QObject>
#include <QString>

// The settings of one alarm, kept as the texts the editors' choosers show.
class alarmOne : public QObject
{
    Q_OBJECT
public:
    explicit alarmOne(QObject *parent = nullptr);

    // Takes over every setting of `other` (not its parent).
    void assign(const alarmOne &other);
    // Every setting equals `other`'s.
    bool sameSettings(const alarmOne &other) const;

    bool enabled = false;
    QString hour;
    QString minute;
    bool week[7] = {false, false, false, false, false, false, false}; // Monday .. Sunday
    QString playListName;
    QString playMode;
    bool firstPlay = false;
    bool interrupt = false;
    QString volume;
    QString volumeControl;
};
