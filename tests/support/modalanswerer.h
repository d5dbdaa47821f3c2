#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

// Answers the next modal message box (or closes the next modal dialog) while the
// code under test waits in its own event loop. Arm it before the action that
// opens the box, assert afterwards: never from inside the callback.
class ModalAnswerer : public QObject
{
    Q_OBJECT
public:
    explicit ModalAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok,
                           int timeoutMsec = 10000, QObject *parent = nullptr);

    void arm();
    // Waits (spinning the event loop) until a box was answered or the time ran out.
    bool waitAnswered(int timeoutMsec = 10000);

    bool answered = false;
    int count = 0;          // boxes answered since arm()
    QString title;          // of the last box answered
    QString text;
    QString className;      // "QMessageBox", or the class of another modal dialog
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool hadParent = false;
    // Go on answering every box until the timeout, so `count` tells how many came.
    bool keepAnswering = false;

private:
    void poll();

    QMessageBox::StandardButton answer;
    QTimer timer;
    int remainingTicks = 0;
    int timeoutMsec;
};
