#include "wakehelper/wakeservice.h"

#include "wakehelper/waketimer.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDateTime>

namespace {

const char errorPrefix[] = "org.vurn.WakeHelper.Error.";

// polkit's subject: ("system-bus-name", {"name": <the caller's unique name>}).
struct PolkitSubject
{
    QString kind;
    QVariantMap details;
};

QDBusArgument &operator<<(QDBusArgument &argument, const PolkitSubject &subject)
{
    argument.beginStructure();
    argument << subject.kind << subject.details;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PolkitSubject &subject)
{
    argument.beginStructure();
    argument >> subject.kind >> subject.details;
    argument.endStructure();
    return argument;
}

qint64 now()
{
    return QDateTime::currentSecsSinceEpoch();
}

QString error(const char *name)
{
    return QLatin1String(errorPrefix) + QLatin1String(name);
}

} // namespace

Q_DECLARE_METATYPE(PolkitSubject)

wakeService::wakeService(const QDBusConnection &systemBus, wakeTimer *wake, int idleSeconds, QObject *parent)
    : QObject(parent), bus(systemBus), timer(wake),
      owners(new QDBusServiceWatcher(this))
{
    qDBusRegisterMetaType<PolkitSubject>();
    qDBusRegisterMetaType<QMap<QString, QString>>();
    owners->setConnection(bus);
    owners->setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
    connect(owners, &QDBusServiceWatcher::serviceUnregistered, this, &wakeService::onOwnerGone);
    connect(timer, &wakeTimer::expired, this, &wakeService::onExpired);
    idleTimer.setSingleShot(true);
    idleTimer.setInterval(idleSeconds * 1000);
    connect(&idleTimer, &QTimer::timeout, this, [this] {
        if (registry.isEmpty() && pending.outstanding() == 0)
            emit idle();
    });
    idleTimer.start();
}

bool wakeService::registerOnBus()
{
    return bus.registerObject(QLatin1String(objectPath), this, QDBusConnection::ExportScriptableSlots)
           && bus.registerService(QLatin1String(serviceName));
}

bool wakeService::CanWake(QString &reason)
{
    setDelayedReply(true);
    Request request;
    request.kind = Kind::CanWake;
    request.message = message();
    if (!admit(request.uid))
        return false;
    reason.clear();
    authorise(request);
    return false;
}

void wakeService::Arm(qlonglong at)
{
    setDelayedReply(true);
    Request request;
    request.kind = Kind::Arm;
    request.message = message();
    request.at = at;
    if (!admit(request.uid))
        return;
    // Refused before polkit is troubled, and checked again after its answer.
    if (wakeRegistry::judge(at, now()) != wakeRegistry::Verdict::Accepted) {
        pending.release(request.uid);
        replyError(request.message, error("OutOfRange"),
                   QStringLiteral("the wake time must lie between one minute and 24 hours ahead"));
        return;
    }
    authorise(request);
}

void wakeService::Disarm()
{
    // Forgetting one's own wake needs no authorisation: it only gives up.
    // It also voids the user's Arm still waiting on polkit.
    setDelayedReply(true);
    const QDBusMessage call = message();
    uint uid = 0;
    rearmIdle();
    if (!callerUid(uid))
        return;
    pending.cancel(uid);
    timer->clear(uid);
    registry.disarm(uid);
    bus.send(call.createReply());
    rearmIdle();
}

bool wakeService::callerUid(uint &uid)
{
    const QDBusMessage call = message();
    const QDBusReply<uint> user = bus.interface()->serviceUid(call.service());
    if (!user.isValid()) {
        replyError(call, error("Failed"), QStringLiteral("the caller's user is unknown"));
        return false;
    }
    uid = user.value();
    return true;
}

bool wakeService::admit(uint &uid)
{
    rearmIdle();
    if (!callerUid(uid))
        return false;
    // The slot is taken last: a call refused here holds none.
    if (!registry.admit(uid, now()) || !pending.take(uid)) {
        replyError(message(), error("RateLimited"), QStringLiteral("too many calls; try again in a minute"));
        return false;
    }
    return true;
}

void wakeService::authorise(Request request)
{
    request.cancelCount = pending.cancelCount(request.uid);
    QDBusMessage check = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.PolicyKit1"), QStringLiteral("/org/freedesktop/PolicyKit1/Authority"),
        QStringLiteral("org.freedesktop.PolicyKit1.Authority"), QStringLiteral("CheckAuthorization"));
    PolkitSubject subject;
    subject.kind = QStringLiteral("system-bus-name");
    subject.details.insert(QStringLiteral("name"), request.message.service());
    // No interaction: an alarm is set while nobody waits for a password box.
    check << QVariant::fromValue(subject) << QLatin1String(actionId) << QVariant::fromValue(QMap<QString, QString>())
          << uint(0) << QString();
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(check, polkitTimeoutMsec), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, request](QDBusPendingCallWatcher *w) { onAuthorised(request, w); });
}

void wakeService::onAuthorised(const Request &request, QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const bool cancelled = pending.cancelCount(request.uid) != request.cancelCount;
    pending.release(request.uid);
    rearmIdle();
    const QDBusMessage answer = watcher->reply();
    bool authorised = false;
    if (answer.type() == QDBusMessage::ReplyMessage && answer.signature() == QLatin1String("(bba{ss})")) {
        const QDBusArgument result = answer.arguments().value(0).value<QDBusArgument>();
        bool challenge = false;
        QMap<QString, QString> details;
        result.beginStructure();
        result >> authorised >> challenge >> details;
        result.endStructure();
    }
    const QString unavailable = timer->unavailableReason();
    if (request.kind == Kind::CanWake) {
        QString reason;
        if (!unavailable.isEmpty())
            reason = unavailable;
        else if (!authorised)
            reason = QStringLiteral("not authorised");
        bus.send(request.message.createReply({reason.isEmpty(), reason}));
        return;
    }
    if (cancelled) {
        replyError(request.message, error("Cancelled"), QStringLiteral("disarmed while polkit was asked"));
        return;
    }
    if (!authorised) {
        replyError(request.message, error("NotAuthorized"), QStringLiteral("not authorised to wake the machine"));
        return;
    }
    if (!unavailable.isEmpty()) {
        replyError(request.message, error("Unavailable"), unavailable);
        return;
    }
    finishArm(request);
}

void wakeService::finishArm(const Request &request)
{
    if (wakeRegistry::judge(request.at, now()) != wakeRegistry::Verdict::Accepted) {
        replyError(request.message, error("OutOfRange"),
                   QStringLiteral("the wake time must lie between one minute and 24 hours ahead"));
        return;
    }
    // The caller may have gone while polkit was asked: then nothing is armed.
    // Watched first, so that it going after this check is still heard of.
    const QString owner = request.message.service();
    owners->addWatchedService(owner);
    if (!bus.interface()->isServiceRegistered(owner).value()) {
        onOwnerGone(owner);
        return;
    }
    if (!timer->set(request.uid, request.at)) {
        // The kernel and the registry still agree; the caller learns which wake stands.
        replyError(request.message, error("Failed"),
                   registry.isArmed(request.uid)
                       ? QStringLiteral("the wake timer could not be set; the earlier wake is kept")
                       : QStringLiteral("the wake timer could not be set; no wake is armed"));
        return;
    }
    registry.arm(request.uid, owner, request.at);
    bus.send(request.message.createReply());
}

void wakeService::onOwnerGone(const QString &owner)
{
    owners->removeWatchedService(owner);
    const QVector<uint> users = registry.forgetOwner(owner);
    for (const uint uid : users)
        timer->clear(uid);
    rearmIdle();
}

void wakeService::onExpired(uint uid)
{
    // The machine is up: that wake is spent.
    const QString owner = registry.ownerOf(uid);
    registry.disarm(uid);
    if (!owner.isEmpty() && registry.forgetOwner(owner).isEmpty())
        owners->removeWatchedService(owner);
    rearmIdle();
}

void wakeService::replyError(const QDBusMessage &call, const QString &name, const QString &text)
{
    bus.send(call.createErrorReply(name, text));
}

void wakeService::rearmIdle()
{
    idleTimer.start();
}
