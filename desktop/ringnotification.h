#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class QDBusPendingCallWatcher;

// A desktop notification while an alarm rings, with "停止" and "スヌーズ":
// critical, so it stays, and shown over a locked screen by desktops that
// show notifications there. Without a notification service nothing fails.
class ringNotification : public QObject
{
    Q_OBJECT
public:
    explicit ringNotification(const QDBusConnection &sessionBus, QObject *parent = nullptr);
    ~ringNotification() override;

    void show(const QString &summary, const QString &body);
    void withdraw();
    bool isShown() const;
    uint shownId() const; // the service's id of the notification; 0 when none

    static constexpr const char *stopAction = "stop";
    static constexpr const char *snoozeAction = "snooze";

Q_SIGNALS:
    void stopRequested();
    void snoozeRequested();

private Q_SLOTS:
    void onActionInvoked(uint id, const QString &action);
    void onClosed(uint id, uint reason);

private:
    void onShown(QDBusPendingCallWatcher *watcher);

    QDBusConnection bus;
    uint id = 0;
    bool wanted = false;
};
