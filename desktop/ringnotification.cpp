#include "desktop/ringnotification.h"

#include "desktop/notificationservice.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

using namespace notificationService;

ringNotification::ringNotification(const QDBusConnection &sessionBus, QObject *parent)
    : QObject(parent), bus(sessionBus)
{
    if (!bus.isConnected())
        return;
    bus.connect(QLatin1String(service), QLatin1String(path), QLatin1String(interface),
                QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    bus.connect(QLatin1String(service), QLatin1String(path), QLatin1String(interface),
                QStringLiteral("NotificationClosed"), this, SLOT(onClosed(uint, uint)));
}

ringNotification::~ringNotification()
{
    withdraw();
}

void ringNotification::show(const QString &summary, const QString &body)
{
    if (!bus.isConnected())
        return;
    wanted = true;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(service), QLatin1String(path),
                                                       QLatin1String(interface), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(2))); // critical: not timed out
    hints.insert(QStringLiteral("category"), QStringLiteral("alarm"));
    hints.insert(QStringLiteral("resident"), true);
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("org.vurn.vurn"));
    const QStringList actions{QLatin1String(stopAction), tr("停止"), QLatin1String(snoozeAction), tr("スヌーズ")};
    call << QStringLiteral("Vurn") << id << QStringLiteral("org.vurn.vurn") << summary << body << actions << hints
         << 0;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, callTimeoutMsec), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &ringNotification::onShown);
}

void ringNotification::onShown(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError())
        return;
    id = reply.value();
    if (!wanted)
        withdraw(); // the ringing ended while the notification was on its way
}

void ringNotification::withdraw()
{
    wanted = false;
    if (id == 0 || !bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(service), QLatin1String(path),
                                                       QLatin1String(interface), QStringLiteral("CloseNotification"));
    call << id;
    id = 0;
    bus.asyncCall(call, callTimeoutMsec);
}

bool ringNotification::isShown() const
{
    return wanted && id != 0;
}

uint ringNotification::shownId() const
{
    return wanted ? id : 0;
}

void ringNotification::onActionInvoked(uint invoked, const QString &action)
{
    if (invoked == 0 || invoked != id)
        return;
    if (action == QLatin1String(stopAction))
        emit stopRequested();
    else if (action == QLatin1String(snoozeAction))
        emit snoozeRequested();
}

void ringNotification::onClosed(uint closed, uint)
{
    // Dismissed by the person or the desktop: the alarm rings on, the window
    // and the tray still stop it.
    if (closed != 0 && closed == id)
        id = 0;
}

#include "moc_ringnotification.cpp"
