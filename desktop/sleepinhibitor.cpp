#include "desktop/sleepinhibitor.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const char service[] = "org.freedesktop.login1";
}

sleepInhibitor::sleepInhibitor(const QDBusConnection &systemBus, QObject *parent)
    : sleepInhibitor(systemBus, QStringLiteral("sleep:idle"), QStringLiteral("block"), tr("アラームを鳴らすため"), parent)
{
}

sleepInhibitor::sleepInhibitor(const QDBusConnection &systemBus, const QString &whatValue, const QString &modeValue,
                               const QString &whyValue, QObject *parent)
    : QObject(parent), bus(systemBus), what(whatValue), mode(modeValue), why(whyValue)
{
}

bool sleepInhibitor::isAvailable() const
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QString name = QLatin1String(service);
    if (bus.interface()->isServiceRegistered(name))
        return true;
    const QDBusReply<QStringList> activatable = bus.interface()->activatableServiceNames();
    return activatable.isValid() && activatable.value().contains(name);
}

void sleepInhibitor::setWanted(bool want)
{
    if (want == wanted)
        return;
    wanted = want;
    if (wanted) {
        request();
    } else if (lock.isValid()) {
        lock = QDBusUnixFileDescriptor(); // closes our copy: logind lets go
        emit heldChanged(false);
    }
}

bool sleepInhibitor::isWanted() const
{
    return wanted;
}

bool sleepInhibitor::isHeld() const
{
    return lock.isValid();
}

void sleepInhibitor::request()
{
    if (pending || lock.isValid() || !bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(service), QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"),
                                                       QStringLiteral("Inhibit"));
    call << what << QStringLiteral("Vurn") << why << mode;
    pending = true;
    // Asynchronous: a slow or absent logind must not hold up the alarm check.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &sleepInhibitor::onReply);
}

void sleepInhibitor::onReply(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    pending = false;
    const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *watcher;
    if (reply.isError() || !reply.value().isValid())
        return; // refused or gone; asked again the next time it becomes wanted
    if (!wanted)
        return; // no longer wanted while the answer was on its way: dropping it releases it
    lock = reply.value();
    emit heldChanged(true);
}

#include "moc_sleepinhibitor.cpp"
