#pragma once

#include <QObject>

// Counts the message boxes shown while it lives. Unlike answering them, this
// also sees a box whose event loop ends at once (after a test's earlier
// QCoreApplication::quit(), every later exec() returns straight away).
class BoxCounter : public QObject
{
    Q_OBJECT
public:
    explicit BoxCounter(QObject *parent = nullptr);
    ~BoxCounter() override;

    int shown = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
