// The tray icon's menu: what each entry asks for, and the ringing entries.
#include "desktop/trayicon.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

class tst_TrayIcon : public QObject
{
    Q_OBJECT

private slots:
    void menuEntriesAsk_data();
    void menuEntriesAsk();
    void ringingEntriesOnlyWhileRinging();
    void showHideTextFollowsWindow();
};

using Entry = QAction *trayIcon::*;
using Request = void (trayIcon::*)();
Q_DECLARE_METATYPE(Entry)
Q_DECLARE_METATYPE(Request)

void tst_TrayIcon::menuEntriesAsk_data()
{
    QTest::addColumn<Entry>("entry");
    QTest::addColumn<Request>("request");
    QTest::addColumn<QString>("text");
    QTest::newRow("show/hide") << &trayIcon::showHideAction << &trayIcon::showHideRequested << "ウィンドウを隠す";
    QTest::newRow("play/stop") << &trayIcon::playAction << &trayIcon::playRequested << "再生／停止";
    QTest::newRow("next") << &trayIcon::nextAction << &trayIcon::nextRequested << "次の曲";
    QTest::newRow("stop alarm") << &trayIcon::stopAlarmAction << &trayIcon::stopAlarmRequested << "アラームを停止";
    QTest::newRow("snooze") << &trayIcon::snoozeAction << &trayIcon::snoozeRequested << "スヌーズ";
    QTest::newRow("quit") << &trayIcon::quitAction << &trayIcon::quitRequested << "終了";
}

void tst_TrayIcon::menuEntriesAsk()
{
    QFETCH(Entry, entry);
    QFETCH(Request, request);
    QFETCH(QString, text);
    trayIcon tray;
    QAction *action = tray.*entry;
    QCOMPARE(action->text(), text);
    QVERIFY(tray.menu()->actions().contains(action));
    QSignalSpy asked(&tray, request);
    QSignalSpy quit(&tray, &trayIcon::quitRequested);
    action->trigger();
    QCOMPARE(asked.count(), 1);
    QCOMPARE(quit.count(), request == &trayIcon::quitRequested ? 1 : 0);
}

void tst_TrayIcon::ringingEntriesOnlyWhileRinging()
{
    trayIcon tray;
    QVERIFY(!tray.stopAlarmAction->isVisible());
    QVERIFY(!tray.snoozeAction->isVisible());
    tray.setRinging(true);
    QVERIFY(tray.stopAlarmAction->isVisible());
    QVERIFY(tray.snoozeAction->isVisible());
    tray.setRinging(false);
    QVERIFY(!tray.snoozeAction->isVisible());
}

void tst_TrayIcon::showHideTextFollowsWindow()
{
    trayIcon tray;
    tray.setWindowShown(false);
    QCOMPARE(tray.showHideAction->text(), QStringLiteral("ウィンドウを表示"));
    tray.setWindowShown(true);
    QCOMPARE(tray.showHideAction->text(), QStringLiteral("ウィンドウを隠す"));
}

QTEST_MAIN(tst_TrayIcon)
#include "tst_trayicon.moc"
