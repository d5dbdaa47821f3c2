#include "alarm/alarmlist.h"

#include "storage/playliststore.h"
#include "storage/storedchoice.h"

#include "alarm/alarmone.h"

#include <stdexcept>

alarmList::alarmList(QObject *parent)
    : QObject(parent)
{
}

alarmList::~alarmList()
{
    // Alarms dropped by clear() are still children and go with the QObject base.
    const QList<alarmOne *> held = items;
    items.clear();
    for (alarmOne *alarm : held)
        delete alarm;
}

int alarmList::size() const
{
    return items.size();
}

alarmOne *alarmList::at(int i) const
{
    if (i < 0 || i >= items.size())
        throw std::out_of_range("alarmList::at");
    return items.at(i);
}

void alarmList::append(alarmOne *alarm)
{
    items.append(alarm);
}

void alarmList::clear()
{
    items.clear();
}

QStringList alarmList::hourItems()
{
    QStringList items;
    for (int h = 0; h < 24; ++h)
        items << QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0'));
    return items;
}

QStringList alarmList::minuteItems()
{
    QStringList items;
    for (int m = 0; m < 60; ++m)
        items << QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0'));
    return items;
}

QStringList alarmList::playListItems()
{
    return QStringList{storedChoice::standardPlayList()} + playlistStore::names();
}

QStringList alarmList::playModeItems(int trackCount)
{
    QStringList items{storedChoice::noRepeat(),     storedChoice::repeatOne(), storedChoice::repeatForward(),
                      storedChoice::repeatBackward(), storedChoice::random(),  storedChoice::shuffle(),
                      storedChoice::noRepeatRandom()};
    for (int k = 1; k <= trackCount; ++k)
        items << storedChoice::noRepeatFrom(k);
    return items;
}

QStringList alarmList::volumeItems()
{
    QStringList items{storedChoice::unchanged()};
    for (int v = 0; v <= 100; v += 5)
        items << QString::number(v);
    return items;
}

QStringList alarmList::volumeControlItems()
{
    QStringList items{storedChoice::unchanged()};
    for (int minutes = 1; minutes <= 10; ++minutes)
        items << storedChoice::fadeIn(minutes);
    return items;
}

#include "moc_alarmlist.cpp"
