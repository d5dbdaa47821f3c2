#include "support/modalanswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QTest>

namespace {
constexpr int pollMsec = 20;
}

ModalAnswerer::ModalAnswerer(QMessageBox::StandardButton answer, int timeoutMsec, QObject *parent)
    : QObject(parent), answer(answer), timeoutMsec(timeoutMsec)
{
    timer.setInterval(pollMsec);
    connect(&timer, &QTimer::timeout, this, &ModalAnswerer::poll);
}

void ModalAnswerer::arm()
{
    answered = false;
    count = 0;
    title.clear();
    text.clear();
    className.clear();
    remainingTicks = timeoutMsec / pollMsec;
    timer.start();
}

bool ModalAnswerer::waitAnswered(int timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!answered && clock.elapsed() < timeout)
        QTest::qWait(pollMsec);
    return answered;
}

void ModalAnswerer::poll()
{
    if (--remainingTicks < 0) {
        timer.stop();
        return;
    }
    QWidget *modal = QApplication::activeModalWidget();
    // A progress dialog is work under way, not a question for the test.
    if (qobject_cast<QProgressDialog *>(modal))
        return;
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        className = QStringLiteral("QMessageBox");
        hadParent = box->parentWidget() != nullptr;
        if (!keepAnswering)
            timer.stop();
        QAbstractButton *button = box->button(answer);
        if (button)
            button->click();
        else
            box->reject();
        answered = true;
        ++count;
    } else if (auto *dialog = qobject_cast<QDialog *>(modal)) {
        className = QString::fromLatin1(dialog->metaObject()->className());
        title = dialog->windowTitle();
        hadParent = dialog->parentWidget() != nullptr;
        if (!keepAnswering)
            timer.stop();
        dialog->reject();
        answered = true;
        ++count;
    }
}

#include "moc_modalanswerer.cpp"
