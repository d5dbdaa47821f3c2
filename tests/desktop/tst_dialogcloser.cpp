// A quitting player answers its boxes itself: those open, and those that open
// while it closes, each as Escape would; progress boxes are left to finish.
#include "desktop/dialogcloser.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

class tst_DialogCloser : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openBoxAnswered_data();
    void openBoxAnswered();
    void laterBoxesAnswered();
    void progressLeftAlone();
    void endsWithTheCloser();

private:
    // Answers whatever still waits after some seconds, so that a fault fails
    // the test instead of hanging it.
    QTimer rescue;
    bool rescued = false;
};

void tst_DialogCloser::init()
{
    rescued = false;
    rescue.setSingleShot(true);
    rescue.setInterval(8000);
    rescue.callOnTimeout([this] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (auto *dialog = qobject_cast<QDialog *>(widget); dialog && dialog->isVisible()) {
                rescued = true;
                dialog->reject();
            }
        }
    });
    rescue.start();
}

void tst_DialogCloser::cleanup()
{
    rescue.stop();
    rescue.disconnect();
}

void tst_DialogCloser::openBoxAnswered_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("answer");
    QTest::newRow("question: cancel") << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Cancel);
    QTest::newRow("yes or no: no") << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::No);
    QTest::newRow("warning: its only button") << int(QMessageBox::Ok) << int(QMessageBox::Ok);
}

void tst_DialogCloser::openBoxAnswered()
{
    QFETCH(int, buttons);
    QFETCH(int, answer);
    dialogCloser closer;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Vurn"), QStringLiteral("?"),
                    QMessageBox::StandardButtons(buttons));
    // The quit comes while the box waits in its own loop, as a signal does.
    QTimer::singleShot(50, &closer, &dialogCloser::closeAll);
    box.exec();
    QVERIFY(!rescued);
    QCOMPARE(int(box.standardButton(box.clickedButton())), answer);
}

void tst_DialogCloser::laterBoxesAnswered()
{
    dialogCloser closer;
    closer.closeAll();
    // Opened by what goes on after the quit (the end of an add, a caller's next box).
    QCOMPARE(QMessageBox::question(nullptr, QStringLiteral("Vurn"), QStringLiteral("?"),
                                   QMessageBox::Ok | QMessageBox::Cancel),
             QMessageBox::Cancel);
    QDialog dialog;
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(!rescued);
}

void tst_DialogCloser::progressLeftAlone()
{
    QProgressDialog progress;
    progress.setMinimumDuration(0);
    progress.show();
    dialogCloser closer;
    closer.closeAll();
    QTest::qWait(100);
    QVERIFY(progress.isVisible());
    QVERIFY(!progress.wasCanceled());
}

void tst_DialogCloser::endsWithTheCloser()
{
    {
        dialogCloser closer;
        closer.closeAll();
    }
    QDialog dialog;
    dialog.show();
    QTest::qWait(100);
    QVERIFY(dialog.isVisible());
}

QTEST_MAIN(tst_DialogCloser)
#include "tst_dialogcloser.moc"
