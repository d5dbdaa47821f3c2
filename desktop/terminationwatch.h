#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGINT and SIGHUP (a session ending, a terminal's Ctrl+C)
// into a signal on the event loop, so the player closes as from its window
// and saves its state instead of dying with it. One per process.
class terminationWatch : public QObject
{
    Q_OBJECT
public:
    explicit terminationWatch(QObject *parent = nullptr);
    ~terminationWatch() override;

Q_SIGNALS:
    void terminationRequested();

private:
    static void onSignal(int number);
    void drain();

    QSocketNotifier *notifier = nullptr;
};
