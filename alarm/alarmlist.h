#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

class alarmOne;

// The alarms in order. Each alarm is a child of the list that holds it.
class alarmList : public QObject
{
    Q_OBJECT
public:
    explicit alarmList(QObject *parent = nullptr);
    ~alarmList() override;

    int size() const;
    alarmOne *at(int i) const; // throws std::out_of_range outside 0 .. size() - 1
    void append(alarmOne *alarm);
    void clear();
    QList<alarmOne *>::const_iterator begin() const { return items.cbegin(); }
    QList<alarmOne *>::const_iterator end() const { return items.cend(); }

    // The values an alarm's settings take, as stored (storedChoice::shown
    // gives their words); the first item is the default.
    static QStringList hourItems();
    static QStringList minuteItems();
    static QStringList playListItems();
    static QStringList playModeItems(int trackCount);
    static QStringList volumeItems();
    static QStringList volumeControlItems();

private:
    QList<alarmOne *> items;
};
