// The ringing window answers whatever else of the player is open: its buttons
// and keys, clicked and typed through the window as a person does (a click
// sent to the widget itself would pass a modal block by), and its whole message.
#include "alarm/alarmclock.h"
#include "alarm/alarmlist.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmringwindow.h"
#include "alarm/alarmschedule.h"
#include "app/mainwindow.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/languagerig.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
// 2024-01-01 was a Monday.
QDateTime mon(int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2024, 1, 1), QTime(hour, minute, second));
}

void clickThroughWindow(QWidget *button)
{
    QWidget *top = button->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, {}, button->mapTo(top, button->rect().center()));
}

int shownRingWindows()
{
    int shown = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        shown += qobject_cast<alarmRingWindow *>(widget) && widget->isVisible() ? 1 : 0;
    return shown;
}
} // namespace

class tst_AlarmRingWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void answersOverOpenWindows_data();
    void answersOverOpenWindows();
    void keysAnswer_data();
    void keysAnswer();
    void boxOfTheAlarmItself();
    void secondAlarmKeepsOneWindow();
    void wholeMessageShows_data();
    void wholeMessageShows();

private:
    bool tickAt(const QDateTime &moment)
    {
        clock = moment;
        window->core->setModeText(QStringLiteral("idle"));
        window->checkAlarms();
        return window->core->modeText != QLatin1String("idle");
    }
    alarmRingWindow *ringWindow() const { return window->ringer->window(); }
    QAction *action(const char *name) const { return window->findChild<QAction *>(QLatin1String(name)); }
    QPushButton *settingsButton(const char *name) const
    {
        return window->setWin->findChild<QPushButton *>(QLatin1String(name));
    }
    int alarmTableRows() const
    {
        return window->setWin->findChild<QTableWidget *>(QStringLiteral("alarmListTable"))->rowCount();
    }
    void open(const QString &which);
    QWidget *opened(const QString &which) const;
    void answer(const QString &which, QWidget *box);
    // Opens `which` as the player does (a box waits in its own event loop),
    // runs `whileOpen` while it is open, then answers it through its window.
    void runWhileOpen(const QString &which, const std::function<void(QWidget *)> &whileOpen);

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<MainWindow> window;
    QDateTime clock;
    QString longTrack;
    QFont platformFont;
};

void tst_AlarmRingWindow::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    longTrack = fixtures->make(QStringLiteral("long.flac"), 8000, TrackTags{QStringLiteral("Long"), {}, {}, 0});
    QVERIFY(!longTrack.isEmpty());
    alarmClock::setSource([this] { return clock; });
    platformFont = QApplication::font();
}

void tst_AlarmRingWindow::init()
{
    clock = mon(6, 0);
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->core->addFiles({longTrack});
    window->setWin->setAlarmOptions(5, 60, true, false);
    window->setWin->setAlarmList(makeAlarmList(window.get(), {{"07:00", "0", "全曲リピート(>>)", true, false, true}}));
}

void tst_AlarmRingWindow::cleanup()
{
    window.reset();
    QApplication::setFont(platformFont);
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

void tst_AlarmRingWindow::open(const QString &which)
{
    if (which == QLatin1String("warning box")) {
        QMessageBox::warning(window.get(), QStringLiteral("プレイリストエラー"), QStringLiteral("テスト"), QMessageBox::Ok);
        return;
    }
    if (which == QLatin1String("the alarm's own warning")) {
        // An empty list: the alarm says so in a box after its window showed.
        window->core->clearTracks();
        tickAt(mon(7, 0));
        return;
    }
    if (which == QLatin1String("add dialog")) {
        action("actionAdd")->trigger();
        return;
    }
    action("actionSettings")->trigger();
    if (which == QLatin1String("settings window"))
        QTest::mouseClick(settingsButton("alarmAddButton"), Qt::LeftButton); // an edit not yet saved
    else if (which == QLatin1String("confirmation"))
        QTest::mouseClick(settingsButton("alarmClearButton"), Qt::LeftButton);
    else if (which == QLatin1String("bulk-alarm dialog"))
        QTest::mouseClick(settingsButton("pushButton"), Qt::LeftButton);
}

QWidget *tst_AlarmRingWindow::opened(const QString &which) const
{
    QWidget *modal = QApplication::activeModalWidget();
    if (which == QLatin1String("settings window"))
        return modal == window->setWin && alarmTableRows() == 2 ? modal : nullptr;
    if (which == QLatin1String("add dialog"))
        return qobject_cast<QFileDialog *>(modal);
    if (which == QLatin1String("bulk-alarm dialog"))
        return modal && modal->inherits("alarm_set_window") ? modal : nullptr;
    return qobject_cast<QMessageBox *>(modal);
}

void tst_AlarmRingWindow::answer(const QString &which, QWidget *box)
{
    if (which == QLatin1String("settings window"))
        clickThroughWindow(settingsButton("cancelButton"));
    else
        QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
}

void tst_AlarmRingWindow::runWhileOpen(const QString &which, const std::function<void(QWidget *)> &whileOpen)
{
    bool done = false;
    bool answered = false;
    QTimer::singleShot(0, this, [this, which] { open(which); });
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, this, [&] {
        QWidget *box = opened(which);
        if (!box)
            return;
        poll.stop();
        whileOpen(box);
        answer(which, box);
        answered = !box->isVisible();
        // Never left waiting for a person, whatever failed above.
        if (!answered) {
            if (auto *dialog = qobject_cast<QDialog *>(box))
                dialog->reject();
            else
                box->close();
        }
        done = true;
    });
    poll.start();
    QTRY_VERIFY_WITH_TIMEOUT(done, 120000);
    QVERIFY2(answered, "the box did not answer through its window after the alarm");
}

void tst_AlarmRingWindow::answersOverOpenWindows_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<bool>("snooze");
    for (const char *open : {"settings window", "warning box", "confirmation", "add dialog", "bulk-alarm dialog"}) {
        QTest::addRow("%s, stop", open) << QString::fromLatin1(open) << false;
        QTest::addRow("%s, snooze", open) << QString::fromLatin1(open) << true;
    }
}

void tst_AlarmRingWindow::answersOverOpenWindows()
{
    QFETCH(QString, open);
    QFETCH(bool, snooze);
    runWhileOpen(open, [&](QWidget *box) {
        const int rows = alarmTableRows();
        QVERIFY(tickAt(mon(7, 0)));
        QCOMPARE(shownRingWindows(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(ringWindow()->isActiveWindow(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
        clock = mon(7, 0, 20);
        clickThroughWindow(snooze ? ringWindow()->snoozeButton : ringWindow()->stopButton);
        QVERIFY(!window->ringer->isRinging());
        QVERIFY(!ringWindow()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!window->core->isPlaying(), 5000);
        QCOMPARE(tickAt(mon(7, 5, 20)), snooze);
        if (snooze) {
            QTRY_VERIFY_WITH_TIMEOUT(ringWindow()->isVisible(), 5000);
            clickThroughWindow(ringWindow()->stopButton);
            QVERIFY(!window->ringer->isRinging());
        }
        // What was open stays open, its edits neither lost nor applied.
        QVERIFY(box->isVisible());
        QCOMPARE(alarmTableRows(), rows);
        QCOMPARE(window->setWin->currentAlarmList()->size(), 1);
    });
}

void tst_AlarmRingWindow::keysAnswer_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>("snoozes");
    QTest::newRow("Return stops") << QList<int>{Qt::Key_Return} << false;
    QTest::newRow("keypad Enter stops") << QList<int>{Qt::Key_Enter} << false;
    QTest::newRow("Space stops") << QList<int>{Qt::Key_Space} << false;
    QTest::newRow("Escape stops") << QList<int>{Qt::Key_Escape} << false;
    QTest::newRow("Tab to snooze, Return") << QList<int>{Qt::Key_Tab, Qt::Key_Return} << true;
    QTest::newRow("Tab to snooze, Space") << QList<int>{Qt::Key_Tab, Qt::Key_Space} << true;
}

void tst_AlarmRingWindow::keysAnswer()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, snoozes);
    runWhileOpen(QStringLiteral("settings window"), [&](QWidget *) {
        QVERIFY(tickAt(mon(7, 0)));
        QTRY_VERIFY_WITH_TIMEOUT(ringWindow()->isActiveWindow(), 5000);
        for (const int key : keys)
            QTest::keyClick(ringWindow()->windowHandle(), Qt::Key(key));
        QVERIFY(!window->ringer->isRinging());
        QVERIFY(!ringWindow()->isVisible());
        QCOMPARE(window->schedule->snoozeDue().isValid(), snoozes);
    });
}

void tst_AlarmRingWindow::boxOfTheAlarmItself()
{
    runWhileOpen(QStringLiteral("the alarm's own warning"), [&](QWidget *box) {
        QCOMPARE(shownRingWindows(), 1);
        clickThroughWindow(ringWindow()->stopButton);
        QVERIFY(!window->ringer->isRinging());
        QVERIFY(box->isVisible());
    });
}

void tst_AlarmRingWindow::secondAlarmKeepsOneWindow()
{
    window->setWin->setAlarmList(makeAlarmList(window.get(), {{"07:00", "0", "全曲リピート(>>)", true, false, true},
                                                              {"07:01", "0", "全曲リピート(>>)", true, false, true}}));
    runWhileOpen(QStringLiteral("warning box"), [&](QWidget *) {
        QVERIFY(tickAt(mon(7, 0)));
        QVERIFY(tickAt(mon(7, 1)));
        QCOMPARE(shownRingWindows(), 1);
        QCOMPARE(ringWindow()->timeLabel->text(), QStringLiteral("07:01"));
        clickThroughWindow(ringWindow()->stopButton);
        QVERIFY(!window->ringer->isRinging());
        QCOMPARE(shownRingWindows(), 0);
    });
}

void tst_AlarmRingWindow::wholeMessageShows_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("playlistLine");
    const QString japanese = QStringLiteral("プレイリスト「夜 2");
    const QString english = QStringLiteral("Playlist “夜 2");
    QTest::newRow("Japanese, platform default") << 0 << false << japanese;
    QTest::newRow("Japanese, 11 pt") << 11 << false << japanese;
    QTest::newRow("English, platform default") << 0 << true << english;
    QTest::newRow("English, 11 pt") << 11 << true << english;
}

void tst_AlarmRingWindow::wholeMessageShows()
{
    QFETCH(int, pointSize);
    QFETCH(bool, english);
    QFETCH(QString, playlistLine);
    const LanguageRig language(english ? uiLanguage::English : uiLanguage::Japanese);
    QVERIFY(language.isShown());
    if (pointSize > 0) {
        QFont font = platformFont;
        font.setPointSize(pointSize);
        QApplication::setFont(font);
    }
    // A window built at this font, as at a start with it.
    window.reset();
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->core->addFiles({longTrack});
    AlarmSetup missing{"07:00", "0", "全曲リピート(>>)", true, false, true};
    missing.playList = QStringLiteral("夜 2 眠る前にかける静かなピアノと雨の音のプレイリスト");
    window->setWin->setAlarmList(makeAlarmList(window.get(), {missing}));
    QVERIFY(tickAt(mon(7, 0)));
    alarmRingWindow *ring = ringWindow();
    ring->setOutputWarning(QStringLiteral("音が消されています。アラームが鳴る時に音を出し、音量を上げますが、"
                                          "ヘッドホンだけにつながっていると部屋には聞こえません。"));
    ring->setNowPlaying(QStringLiteral("1 : とても長い曲名の曲、朝の光が窓から差し込むころにかけたい一曲"));
    QApplication::processEvents();
    QVERIFY2(ring->playlistLabel->text().startsWith(playlistLine), qPrintable(ring->playlistLabel->text()));
    const QRect inside = ring->contentsRect();
    for (QLabel *label : {ring->timeLabel, ring->playingLabel, ring->outputLabel, ring->playlistLabel}) {
        QVERIFY2(label->isVisible(), qPrintable(label->objectName()));
        const int needed = label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        QVERIFY2(label->height() >= needed,
                 qPrintable(QStringLiteral("%1: %2 px high for %3 px").arg(label->objectName()).arg(label->height()).arg(needed)));
        QVERIFY2(inside.contains(label->geometry()), qPrintable(label->objectName()));
    }
    // The buttons below the message are still in the window, and the window on the screen.
    QVERIFY(inside.contains(ring->stopButton->geometry()));
    QVERIFY(ring->stopButton->geometry().top() >= ring->playlistLabel->geometry().bottom());
    QVERIFY(ring->screen()->availableGeometry().contains(ring->frameGeometry()));
    window->stopRinging();
}

QTEST_MAIN(tst_AlarmRingWindow)
#include "tst_alarmringwindow.moc"
