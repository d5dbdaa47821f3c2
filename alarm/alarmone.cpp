#include "alarm/alarmone.h"

alarmOne::alarmOne(QObject *parent)
    : QObject(parent)
{
}

#include "moc_alarmone.cpp"
