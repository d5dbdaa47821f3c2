#include "desktop/dialogcloser.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>

dialogCloser::dialogCloser(QObject *parent)
    : QObject(parent)
{
}

void dialogCloser::closeAll()
{
    if (!watching) {
        watching = true;
        qApp->installEventFilter(this);
    }
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        auto *dialog = qobject_cast<QDialog *>(widget);
        if (dialog && dialog->isVisible())
            answer(dialog);
    }
}

bool dialogCloser::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show) {
        auto *dialog = qobject_cast<QDialog *>(watched);
        // Later, not here: a dialog that exec() shows enters its event loop
        // only after the show, and an answer before would leave that loop
        // running with nothing to end it.
        if (dialog && dialog->isWindow())
            QTimer::singleShot(0, dialog, [dialog] { answer(dialog); });
    }
    return QObject::eventFilter(watched, event);
}

void dialogCloser::answer(QDialog *dialog)
{
    if (!dialog->isVisible() || qobject_cast<QProgressDialog *>(dialog))
        return;
    if (qobject_cast<QMessageBox *>(dialog)) {
        // The box's own escape button, so that a question reads as declined.
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(dialog, &escape);
    }
    if (dialog->isVisible())
        dialog->reject();
}

#include "moc_dialogcloser.cpp"
