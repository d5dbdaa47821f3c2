#include "support/boxcounter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>

BoxCounter::BoxCounter(QObject *parent)
    : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

BoxCounter::~BoxCounter()
{
    QCoreApplication::instance()->removeEventFilter(this);
}

bool BoxCounter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && qobject_cast<QMessageBox *>(watched))
        ++shown;
    return false;
}

#include "moc_boxcounter.cpp"
