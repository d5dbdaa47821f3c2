// The main window at the bedside: pause from the window, stop after this
// track in every play mode, the sleep timer's fade and end as the sound server
// plays them, an alarm cutting in, and finding tracks in the playlist.
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "app/mainwindow.h"
#include "forms/findbar.h"
#include "player/gstengine.h"
#include "player/musicplay.h"
#include "player/sleeptimer.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"
#include "support/playlisttable.h"
#include "support/soundserverprobe.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTest>


#include <memory>

class tst_MainWindowBedside : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pauseFromTheWindow();
    void resumingAVanishedTrackMovesOn();
    void stopAfterThisTrackInEveryMode_data();
    void stopAfterThisTrackInEveryMode();
    void sleepTimerFadesStopsAndGivesTheVolumeBack();
    void anAlarmCancelsTheSleepTimer();
    void findNarrowsAndEditsActOnTheRealTracks();
    void findKeys();

private:
    template <typename T> T *child(const char *name) { return window->findChild<T *>(QLatin1String(name)); }
    QStringList shownTitles();
    QStringList allTitles();
    int heardPercent();

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<MainWindow> window;
    QStringList shortTracks; // 2.5 s each: long enough to be seen playing on a loaded machine
    QString longTrack;       // long enough to fade and pause in
    QStringList tagged;      // silent-fast tiny files with titles, artists, albums
    QDateTime clock;
};

void tst_MainWindowBedside::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 3; ++i)
        shortTracks << fixtures->make(QStringLiteral("short%1.wav").arg(i), 2500,
                                      TrackTags{QStringLiteral("S%1").arg(i), {}, {}, 0});
    longTrack = fixtures->make(QStringLiteral("long.flac"), 20000, TrackTags{QStringLiteral("Long"), {}, {}, 0});
    const TrackTags tags[] = {
        {QStringLiteral("Come Together"), QStringLiteral("The Beatles"), QStringLiteral("Abbey Road"), 0},
        {QStringLiteral("朝の歌"), QStringLiteral("歌手"), QStringLiteral("アルバム"), 0},
        {QStringLiteral("Bohemian Rhapsody"), QStringLiteral("Queen"), QStringLiteral("A Night at the Opera"), 0},
        {QStringLiteral("Something"), QStringLiteral("The Beatles"), QStringLiteral("Abbey Road"), 0},
        {QStringLiteral("ｱｲｳの夜"), QStringLiteral("ABC"), QString(), 0},
        {QStringLiteral("Yesterday"), QStringLiteral("The Beatles"), QStringLiteral("Help!"), 0},
    };
    int i = 0;
    for (const TrackTags &tag : tags)
        tagged << fixtures->makeTinyWav(QStringLiteral("tag%1.wav").arg(i++), 3000, tag);
    QVERIFY(!shortTracks.contains(QString()) && !longTrack.isEmpty() && !tagged.contains(QString()));
}

void tst_MainWindowBedside::init()
{
    clock = QDateTime(QDate(2026, 12, 7), QTime(23, 0)); // a Monday night
    alarmClock::setSource([this] { return clock; });
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_MainWindowBedside::cleanup()
{
    window.reset();
    alarmClock::setSource({});
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::streamsOf().isEmpty(), 5000);
}

QStringList tst_MainWindowBedside::shownTitles()
{
    QStringList result;
    auto *table = child<QTableView>("playListTable");
    for (int row = 0; row < PlaylistTable::rows(table); ++row) {
        if (!table->isRowHidden(row))
            result << PlaylistTable::text(table, row, 0);
    }
    return result;
}

QStringList tst_MainWindowBedside::allTitles()
{
    QStringList result;
    auto *table = child<QTableView>("playListTable");
    result = PlaylistTable::titles(table);
    return result;
}

int tst_MainWindowBedside::heardPercent()
{
    // The backend corks its stream now and then while it fills; the level the
    // server applies is the stream's all the same.
    const QList<HeardStream> streams = SoundServerProbe::streamsOf();
    return streams.size() == 1 && !streams.first().muted ? streams.first().percent : -1;
}

void tst_MainWindowBedside::pauseFromTheWindow()
{
    window->addPaths({longTrack, shortTracks.at(0)});
    auto *table = child<QTableView>("playListTable");
    auto *play = child<QAction>("actionPlay");
    auto *title = child<QLabel>("musicTitle");
    QVERIFY(!window->actionPause->isEnabled()); // nothing to pause yet
    table->selectRow(0);
    play->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QTRY_VERIFY(window->actionPause->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(window->core->positionMsec() > 1500, 8000);

    // Space in the table pauses; the title and the buttons say so.
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Space);
    QVERIFY(window->core->isPaused());
    QVERIFY(window->actionPause->isChecked());
    QVERIFY(title->text().startsWith(QStringLiteral("（一時停止）1 : Long")));
    QCOMPARE(play->text(), QStringLiteral("♪"));
    const qint64 held = window->core->positionMsec();

    // Play with the paused track selected goes on from the place.
    play->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QVERIFY(!window->actionPause->isChecked());
    QVERIFY(window->core->positionMsec() >= held);
    QCOMPARE(title->text().left(4), QStringLiteral("1 : "));

    // Paused with another row selected, play starts that row.
    window->actionPause->trigger();
    QVERIFY(window->core->isPaused());
    table->selectRow(1);
    play->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QCOMPARE(window->core->currentIndex, 1);
    QVERIFY(!window->core->isPaused());
}

void tst_MainWindowBedside::resumingAVanishedTrackMovesOn()
{
    const QString copy = fixtures->path(QStringLiteral("vanishing.flac"));
    QVERIFY(QFile::copy(longTrack, copy));
    window->addPaths({copy, longTrack});
    window->applyModeByName(QStringLiteral("全曲リピート(>>)"));
    child<QTableView>("playListTable")->selectRow(0);
    child<QAction>("actionPlay")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    window->togglePause();
    QVERIFY(window->core->isPaused());
    QVERIFY(QFile::remove(copy));
    window->togglePause();
    QVERIFY(!window->core->isPaused());
    QTRY_COMPARE(window->core->currentIndex, 1);
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
}

void tst_MainWindowBedside::stopAfterThisTrackInEveryMode_data()
{
    QTest::addColumn<QString>("mode");
    for (const char *mode : {"リピートなし", "1曲リピート", "全曲リピート(>>)", "全曲リピート(<<)", "ランダム",
                             "シャッフル", "リピートなし：ランダム"})
        QTest::newRow(mode) << QString::fromUtf8(mode);
}

void tst_MainWindowBedside::stopAfterThisTrackInEveryMode()
{
    QFETCH(QString, mode);
    window->addPaths(shortTracks);
    window->applyModeByName(mode);
    QSignalSpy finished(window->core, &vurnCore::trackEnded);
    // Chosen before the start, so that a slow machine cannot let the short
    // track end first.
    window->actionStopAfter->trigger();
    QVERIFY(window->sleeper->stopAfterTrack());
    QCOMPARE(window->actionSleep->text(), QStringLiteral("曲まで"));
    child<QTableView>("playListTable")->selectRow(1);
    child<QAction>("actionPlay")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(finished.count() >= 1, 10000);
    QVERIFY(!window->core->lastTrackFailed()); // it did play
    QTest::qWait(500);
    QVERIFY(!window->core->isPlaying());
    QCOMPARE(window->core->currentIndex, 1);
    QCOMPARE(child<QAction>("actionPlay")->text(), QStringLiteral("♪"));
    // Once only: it has cleared itself, and the next track ends by the mode.
    QVERIFY(!window->actionStopAfter->isChecked());
    QCOMPARE(window->actionSleep->text(), QStringLiteral("おやすみ"));
}

void tst_MainWindowBedside::sleepTimerFadesStopsAndGivesTheVolumeBack()
{
    window->addPaths({longTrack});
    window->findChild<QSlider *>(QStringLiteral("volumeSlider"))->setValue(80);
    const int full = gstEngine::serverPercent(0.8);
    child<QAction>("actionPlay")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(heardPercent(), full, 5000);

    window->chooseSleep(15);
    QCOMPARE(window->sleeper->chosenMinutes(), 15);
    QTRY_COMPARE(window->actionSleep->text(), QStringLiteral("15:00"));
    // Half way through the last minute: heard at half the level, while the
    // volume the person set stays where it was.
    clock = clock.addSecs(14 * 60 + 30);
    QTRY_COMPARE_WITH_TIMEOUT(heardPercent(), gstEngine::serverPercent(0.4), 3000);
    QCOMPARE(window->volumePercent(), 80);
    QCOMPARE(window->findChild<QSlider *>(QStringLiteral("volumeSlider"))->value(), 80);
    QCOMPARE(window->actionSleep->text(), QStringLiteral("0:30"));

    clock = clock.addSecs(31);
    QTRY_VERIFY_WITH_TIMEOUT(!window->core->isPlaying(), 3000);
    QVERIFY(!window->sleeper->isActive());
    QCOMPARE(window->actionSleep->text(), QStringLiteral("おやすみ"));
    // The next play is at the volume the person set.
    child<QAction>("actionPlay")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(heardPercent(), full, 5000);
    QTest::qWait(1200);
    QCOMPARE(heardPercent(), full);
}

void tst_MainWindowBedside::anAlarmCancelsTheSleepTimer()
{
    window->addPaths({longTrack});
    window->findChild<QSlider *>(QStringLiteral("volumeSlider"))->setValue(60);
    AlarmSetup alarm;
    alarm.time = QStringLiteral("23:15");
    alarm.days = QStringLiteral("0");
    alarm.mode = QStringLiteral("全曲リピート(>>)");
    window->setWin->setAlarmList(makeAlarmList(window.get(), {alarm}));
    window->setWin->setAlarmEnabled(true);
    child<QAction>("actionPlay")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    window->chooseSleep(15);
    window->actionStopAfter->trigger();
    clock = clock.addSecs(14 * 60 + 40); // in the fade
    QTRY_VERIFY_WITH_TIMEOUT(window->sleeper->attenuation() < 0.5, 3000);

    clock = clock.addSecs(20); // 23:15: the alarm
    QTRY_VERIFY_WITH_TIMEOUT(window->ringer->isRinging(), 3000);
    QVERIFY(!window->sleeper->isActive());
    QVERIFY(!window->sleeper->stopAfterTrack());
    QCOMPARE(window->core->player->engine()->attenuation(), 1.0);
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QTRY_COMPARE_WITH_TIMEOUT(heardPercent(), gstEngine::serverPercent(0.6), 5000);
    window->stopRinging();
}

void tst_MainWindowBedside::findNarrowsAndEditsActOnTheRealTracks()
{
    window->addPaths(tagged);
    QTRY_COMPARE(allTitles().size(), 6);
    auto *table = child<QTableView>("playListTable");
    auto *count = child<QLabel>("totalNum");
    QVERIFY(!window->finder->isVisible());
    QTest::keySequence(window.get(), QKeySequence(QStringLiteral("Ctrl+F")));
    QVERIFY(window->finder->isVisible());
    QLineEdit *field = window->finder->field();
    QTRY_VERIFY(field->hasFocus());

    // Full-width letters, any case, every word.
    field->setText(QStringLiteral("ｂｅａｔｌｅｓ　abbey"));
    QCOMPARE(shownTitles(), (QStringList{QStringLiteral("Come Together"), QStringLiteral("Something")}));
    QCOMPARE(count->text(), QStringLiteral("2 / 6 曲"));

    // Moving the lower shown row up passes the hidden ones between.
    table->clearSelection();
    table->selectRow(3);
    child<QAction>("actionUp")->trigger();
    QCOMPARE(allTitles().mid(0, 2), (QStringList{QStringLiteral("Something"), QStringLiteral("Come Together")}));
    QCOMPARE(shownTitles(), (QStringList{QStringLiteral("Something"), QStringLiteral("Come Together")}));

    // Deleting a block of shown rows deletes those tracks, not the hidden
    // ones the block spans.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("the"));
    QCOMPARE(shownTitles().size(), 4); // three by The Beatles and "A Night at the Opera"
    // A track added while narrowed is narrowed too.
    window->addPaths({shortTracks.at(0)});
    QTRY_COMPARE(allTitles().size(), 7);
    QCOMPARE(shownTitles().size(), 4);
    QVERIFY(window->core->removeTracks(6, 6));
    PlaylistTable::select(table, 0, PlaylistTable::rows(table) - 1);
    child<QAction>("actionDel")->trigger();
    QCOMPARE(allTitles(), (QStringList{QStringLiteral("朝の歌"), QStringLiteral("ｱｲｳの夜")}));
    QCOMPARE(window->core->tracks().size(), 2);
    QCOMPARE(shownTitles(), QStringList());
    QCOMPARE(window->finder->findChild<QLabel *>(QStringLiteral("findResult"))->text(),
             QStringLiteral("該当する曲はありません"));
    QCOMPARE(count->text(), QStringLiteral("0 / 2 曲"));

    // Half-width kana; Enter plays the first shown track.
    field->clear();
    field->setText(QStringLiteral("アイウ"));
    QCOMPARE(shownTitles(), QStringList{QStringLiteral("ｱｲｳの夜")});
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_COMPARE(window->core->currentIndex, 1);
    QCOMPARE(child<QLabel>("musicTitle")->text(), QStringLiteral("2 : ｱｲｳの夜"));

    // Esc: the whole list again, in its order.
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!window->finder->isVisible());
    QCOMPARE(shownTitles(), allTitles());
    QCOMPARE(count->text(), QStringLiteral("2 曲"));
}

void tst_MainWindowBedside::findKeys()
{
    window->addPaths(tagged);
    QTRY_COMPARE(allTitles().size(), 6);
    auto *table = child<QTableView>("playListTable");
    // Folded away, the list comes back to be searched.
    child<QAction>("actionFace")->trigger();
    QVERIFY(!table->isVisible());
    window->actionFind->trigger();
    QVERIFY(table->isVisible());
    QLineEdit *field = window->finder->field();
    QTest::keyClicks(field, QStringLiteral("queen"));
    QTest::keyClick(field, Qt::Key_Down);
    QVERIFY(table->hasFocus());
    QCOMPARE(PlaylistTable::selectedBlocks(table).size(), 1);
    QCOMPARE(PlaylistTable::selectedBlocks(table).first().first, 2);
    // A long paste of what no track has: nothing shows, nothing breaks.
    field->setText(QString(10000, QLatin1Char('q')));
    QCOMPARE(shownTitles(), QStringList());
    field->setText(QStringLiteral("    "));
    QCOMPARE(shownTitles().size(), 6);
    QCOMPARE(child<QLabel>("totalNum")->text(), QStringLiteral("6 曲"));
}

QTEST_MAIN(tst_MainWindowBedside)
#include "tst_mainwindowbedside.moc"
