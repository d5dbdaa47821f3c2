// Replacing the main window's list (a saved playlist loaded over it, Clear,
// an alarm's own playlist): "戻す" brings the replaced list back and swaps
// again when pressed again, also after a restart; no selection of the old
// list survives into the new one, and Del acts on what the table shows.
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "app/mainwindow.h"
#include "library/musicinfo.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/playliststore.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"
#include "support/playlisttable.h"

#include <QAction>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_ListReplace : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void restoreSwapsAndSurvivesARestart_data();
    void restoreSwapsAndSurvivesARestart();
    void delAfterAnAlarmsList_data();
    void delAfterAnAlarmsList();
    void noSelectionSurvivesALoad();
    void ringingAgainKeepsThePersonsList();

private:
    void startWindow();
    void replace(const QString &how);
    QStringList titles() const;
    QTableView *table() const;
    QList<int> selectedRows() const;

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> state;
    std::unique_ptr<MainWindow> window;
    QStringList mine;  // the person's list: Mine 0..2
    QStringList other; // the saved playlist "朝": Other 0..2
    QDateTime clock;
};

void tst_ListReplace::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 3; ++i) {
        mine << fixtures->make(QStringLiteral("mine%1.wav").arg(i), 4000,
                               TrackTags{QStringLiteral("Mine %1").arg(i), {}, {}, 0});
        other << fixtures->make(QStringLiteral("other%1.wav").arg(i), 4000,
                                TrackTags{QStringLiteral("Other %1").arg(i), {}, {}, 0});
    }
    QVERIFY(!mine.contains(QString()) && !other.contains(QString()));
}

void tst_ListReplace::init()
{
    clock = QDateTime(QDate(2024, 1, 1), QTime(6, 59, 59)); // a Monday
    alarmClock::setSource([this] { return clock; });
    state = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(state->path());
    QList<storedTrack> saved;
    for (const QString &file : qAsConst(other)) {
        storedTrack track;
        track.file = file;
        saved << track;
    }
    QVERIFY(playlistStore::save(QStringLiteral("朝"), saved));
    startWindow();
    window->addPaths(mine);
    QTRY_COMPARE(titles(), (QStringList{"Mine 0", "Mine 1", "Mine 2"}));
}

void tst_ListReplace::cleanup()
{
    if (window)
        window->close();
    window.reset();
    alarmClock::setSource({});
    vurnSettings::setStateDirectoryOverride(QString());
    state.reset();
}

void tst_ListReplace::startWindow()
{
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ringer->toneDelayMsec = 60000; // the list is what is tested here
}

QStringList tst_ListReplace::titles() const
{
    QStringList result;
    for (const musicInfo *track : window->core->tracks())
        result << track->title;
    return result;
}

QTableView *tst_ListReplace::table() const
{
    return window->findChild<QTableView *>(QStringLiteral("playListTable"));
}

QList<int> tst_ListReplace::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : table()->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

// "load": the saved playlist over the list; "clear": Clear answered OK;
// "alarm": an alarm naming the saved playlist fires (and is stopped).
void tst_ListReplace::replace(const QString &how)
{
    if (how == QLatin1String("load")) {
        window->loadStoredList(playlistStore::entries(QStringLiteral("朝")), false, QStringLiteral("朝"));
    } else if (how == QLatin1String("clear")) {
        ModalAnswerer answerer(QMessageBox::Ok);
        answerer.arm();
        window->findChild<QAction *>(QStringLiteral("actionClear"))->trigger();
        QVERIFY(answerer.waitAnswered());
        QCOMPARE(answerer.title, QStringLiteral("プレイリストクリア"));
    } else {
        AlarmSetup alarm;
        alarm.time = QStringLiteral("07:00");
        alarm.days = QStringLiteral("0");
        alarm.mode = QStringLiteral("全曲リピート(>>)");
        alarm.firstPlay = true;
        alarm.playList = QStringLiteral("朝");
        window->setWin->setAlarmList(makeAlarmList(window.get(), {alarm}));
        window->setWin->setAlarmEnabled(true);
        window->checkAlarms();
        clock = clock.addSecs(1);
        window->checkAlarms();
        QVERIFY(window->ringer->isRinging());
        window->stopRinging();
    }
}

void tst_ListReplace::restoreSwapsAndSurvivesARestart_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QStringList>("replacement");
    QTest::addColumn<QString>("tip");      // what "戻す" says it brings back
    QTest::addColumn<QString>("swapTip");  // and after it was pressed once
    QTest::addColumn<QString>("title");    // the title line once the list is replaced
    const QStringList others{"Other 0", "Other 1", "Other 2"};
    QTest::newRow("load") << "load" << others << "「朝」を読み込む前のプレイリスト（3 曲）に戻します"
                          << "「戻す」の前のプレイリスト（3 曲）に戻します" << "Mine 2";
    QTest::newRow("clear") << "clear" << QStringList() << "クリアする前のプレイリスト（3 曲）に戻します"
                           << "「戻す」の前の空のプレイリストに戻します" << "Mine 2";
    QTest::newRow("alarm") << "alarm" << others << "アラームが鳴らす前のプレイリスト（3 曲）に戻します"
                           << "「戻す」の前のプレイリスト（3 曲）に戻します" << "1 : Other 0";
}

void tst_ListReplace::restoreSwapsAndSurvivesARestart()
{
    QFETCH(QString, how);
    QFETCH(QStringList, replacement);
    QFETCH(QString, tip);
    QFETCH(QString, swapTip);
    QFETCH(QString, title);
    const QStringList own{"Mine 0", "Mine 1", "Mine 2"};
    QAction *restore = window->actionRestoreList;
    QVERIFY(!restore->isEnabled());
    QCOMPARE(restore->toolTip(), QStringLiteral("戻せるプレイリストはありません"));
    auto *titleLine = window->findChild<QLabel *>(QStringLiteral("musicTitle"));
    QVERIFY(window->core->playTrack(2, false));
    QCOMPARE(titleLine->text(), QStringLiteral("3 : Mine 2"));
    // An alarm that may start the selected track stops the music instead.
    window->core->stopPlayback(window->findChild<QAction *>(QStringLiteral("actionPlay")));

    replace(how);
    QTRY_COMPARE(titles(), replacement);
    // Row 3 of the new list is not what the line names.
    QCOMPARE(titleLine->text(), title);
    QVERIFY(restore->isEnabled());
    QCOMPARE(restore->toolTip(), tip);

    restore->trigger();
    QTRY_COMPARE(titles(), own);
    QVERIFY(!titleLine->text().contains(QStringLiteral(" : ")));
    QCOMPARE(restore->toolTip(), swapTip);
    restore->trigger();
    QTRY_COMPARE(titles(), replacement);
    QCOMPARE(restore->toolTip(), QStringLiteral("「戻す」の前のプレイリスト（3 曲）に戻します"));

    window->close();
    window.reset();
    startWindow();
    QTRY_COMPARE(titles(), replacement);
    restore = window->actionRestoreList;
    QVERIFY(restore->isEnabled());
    QCOMPARE(restore->toolTip(), QStringLiteral("「戻す」の前のプレイリスト（3 曲）に戻します"));
    restore->trigger();
    QTRY_COMPARE(titles(), own);
}

void tst_ListReplace::delAfterAnAlarmsList_data()
{
    QTest::addColumn<int>("key"); // held from the selection on, 0 for none
    QTest::addColumn<int>("modifier");
    QTest::newRow("nothing held") << 0 << int(Qt::NoModifier);
    QTest::newRow("Ctrl held") << int(Qt::Key_Control) << int(Qt::ControlModifier);
    QTest::newRow("Shift held") << int(Qt::Key_Shift) << int(Qt::ShiftModifier);
}

void tst_ListReplace::delAfterAnAlarmsList()
{
    QFETCH(int, key);
    QFETCH(int, modifier);
    PlaylistTable::select(table(), 1, 2);
    if (key)
        QTest::keyPress(table(), Qt::Key(key), Qt::KeyboardModifiers(modifier));
    replace(QStringLiteral("alarm"));
    QCOMPARE(titles(), (QStringList{"Other 0", "Other 1", "Other 2"}));
    QCOMPARE(selectedRows(), QList<int>{0}); // the track the alarm started
    window->findChild<QAction *>(QStringLiteral("actionNext"))->trigger();
    QCOMPARE(selectedRows(), QList<int>{1});
    if (key)
        QTest::keyRelease(table(), Qt::Key(key), Qt::NoModifier);
    window->findChild<QAction *>(QStringLiteral("actionDel"))->trigger();
    QCOMPARE(titles(), (QStringList{"Other 0", "Other 2"}));
    window->core->stopPlayback(window->findChild<QAction *>(QStringLiteral("actionPlay")));
}

void tst_ListReplace::noSelectionSurvivesALoad()
{
    PlaylistTable::select(table(), 0, 1);
    replace(QStringLiteral("load"));
    QTRY_COMPARE(titles(), (QStringList{"Other 0", "Other 1", "Other 2"}));
    QVERIFY(selectedRows().isEmpty());
    // Nothing shown selected: Del asks for a selection and removes nothing.
    ModalAnswerer answerer(QMessageBox::Ok);
    answerer.arm();
    window->findChild<QAction *>(QStringLiteral("actionDel"))->trigger();
    QVERIFY(answerer.waitAnswered());
    QCOMPARE(answerer.text, QStringLiteral("プレイリストで削除するファイルを選択して下さい。"));
    QCOMPARE(titles(), (QStringList{"Other 0", "Other 1", "Other 2"}));
}

void tst_ListReplace::ringingAgainKeepsThePersonsList()
{
    replace(QStringLiteral("alarm"));
    QCOMPARE(titles(), (QStringList{"Other 0", "Other 1", "Other 2"}));
    // A snooze rings with the same playlist: that replaces nothing.
    window->playAlarmList(playlistStore::entries(QStringLiteral("朝")));
    window->core->stopPlayback(window->findChild<QAction *>(QStringLiteral("actionPlay")));
    QCOMPARE(window->actionRestoreList->toolTip(), QStringLiteral("アラームが鳴らす前のプレイリスト（3 曲）に戻します"));
    window->actionRestoreList->trigger();
    QTRY_COMPARE(titles(), (QStringList{"Mine 0", "Mine 1", "Mine 2"}));
}

QTEST_MAIN(tst_ListReplace)
#include "tst_listreplace.moc"
