#pragma once

#include <QDBusConnection>
#include <QObject>

// Tells when the machine wakes from sleep, from logind's PrepareForSleep
// signal on the system bus. Without that bus it simply never tells.
class sleepWatch : public QObject
{
    Q_OBJECT
public:
    explicit sleepWatch(const QDBusConnection &systemBus, QObject *parent = nullptr);

    bool isListening() const;

Q_SIGNALS:
    void aboutToSleep();
    void resumed();

private Q_SLOTS:
    void onPrepareForSleep(bool sleeping);

private:
    QDBusConnection bus;
    bool listening = false;
};
