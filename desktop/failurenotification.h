#pragma once

#include "library/loadreport.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QDBusPendingCallWatcher;

// What commands from the desktop (media keys, OpenUri, another start) could
// not open, told without a box: the failures of a burst of calls are
// gathered and said once, in a desktop notification. Where no notification
// service answers, `unheard` carries the same words (the tray shows them);
// with neither, nothing is said. Nothing here waits for the user.
class failureNotification : public QObject
{
    Q_OBJECT
public:
    explicit failureNotification(const QDBusConnection &sessionBus, QObject *parent = nullptr);

    // Joins the burst under way, or starts one.
    void gather(const loadReport &report);
    bool isGathering() const;

    int quietMsec = 1500;    // a burst ends this long after its latest failure,
    int longestMsec = 10000; // and at the latest this long after its first

Q_SIGNALS:
    void unheard(const QString &title, const QString &text);

private:
    void tell();
    void onAnswered(QDBusPendingCallWatcher *watcher);

    QDBusConnection bus;
    loadReport burst;
    QTimer quiet;
    QElapsedTimer sinceFirst;
    uint shownId = 0; // the latest notification: the next one takes its place
};
