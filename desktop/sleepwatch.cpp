#include "desktop/sleepwatch.h"

sleepWatch::sleepWatch(const QDBusConnection &systemBus, QObject *parent)
    : QObject(parent), bus(systemBus)
{
    if (bus.isConnected())
        listening = bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
                                QStringLiteral("org.freedesktop.login1.Manager"),
                                QStringLiteral("PrepareForSleep"), this, SLOT(onPrepareForSleep(bool)));
}

bool sleepWatch::isListening() const
{
    return listening;
}

void sleepWatch::onPrepareForSleep(bool sleeping)
{
    if (sleeping)
        emit aboutToSleep();
    else
        emit resumed();
}

#include "moc_sleepwatch.cpp"
