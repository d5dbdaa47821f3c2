#include "desktop/failurenotification.h"

#include "desktop/notificationservice.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

using namespace notificationService;

failureNotification::failureNotification(const QDBusConnection &sessionBus, QObject *parent)
    : QObject(parent), bus(sessionBus)
{
    quiet.setSingleShot(true);
    connect(&quiet, &QTimer::timeout, this, &failureNotification::tell);
}

void failureNotification::gather(const loadReport &report)
{
    if (report.count() == 0)
        return;
    if (burst.count() == 0)
        sinceFirst.start();
    burst.append(report);
    // A media key held down or a script's loop keeps the burst going, but
    // not for ever: the person hears of it while the calls still come.
    const qint64 left = longestMsec - sinceFirst.elapsed();
    quiet.start(int(qBound<qint64>(0, left, quietMsec)));
}

bool failureNotification::isGathering() const
{
    return burst.count() > 0;
}

void failureNotification::tell()
{
    const loadReport told = burst;
    burst = loadReport();
    if (told.count() == 0)
        return;
    const QString title = told.title();
    const QString text = told.text();
    if (!bus.isConnected()) {
        emit unheard(title, text);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QLatin1String(service), QLatin1String(path),
                                                       QLatin1String(interface), QStringLiteral("Notify"));
    QVariantMap hints;
    hints.insert(QStringLiteral("urgency"), QVariant::fromValue(uchar(1)));
    hints.insert(QStringLiteral("desktop-entry"), QStringLiteral("org.vurn.vurn"));
    // Servers may read the body as markup; a path with "&" or "<" stays a path.
    call << QStringLiteral("Vurn") << shownId << QStringLiteral("org.vurn.vurn") << title << text.toHtmlEscaped()
         << QStringList() << hints << -1;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, callTimeoutMsec), this);
    watcher->setProperty("title", title);
    watcher->setProperty("text", text);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &failureNotification::onAnswered);
}

void failureNotification::onAnswered(QDBusPendingCallWatcher *watcher)
{
    watcher->deleteLater();
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        shownId = 0;
        emit unheard(watcher->property("title").toString(), watcher->property("text").toString());
        return;
    }
    shownId = reply.value();
}

#include "moc_failurenotification.cpp"
