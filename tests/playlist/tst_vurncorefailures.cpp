// The playback controller and tracks that cannot be played: missing,
// undecodable or stalled at the start, and a play mode's walk over them at
// the end of a track, with real files playing into the null sink.
#include "player/musicplay.h"
#include "playlist/playlist.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTest>


#include <memory>

class tst_VurnCoreFailures : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void missingFileFails();
    void undecodableFileFails();
    void stalledStartFails();
    void endOfTrackSkipsBrokenTrackOnce();
    void endOfTrackStopsAfterOnePass_data();
    void endOfTrackStopsAfterOnePass();

private:
    void addTracks(int count);
    bool waitPlaying(int timeout = 15000);
    // Replaces a track's file, after it was added, by one no decoder accepts.
    void breakTrack(int index);

    std::unique_ptr<AudioFixtures> fixtures;
    QStringList files; // short tones titled T0, T1, ...
    QString broken;

    std::unique_ptr<ControllerRig> rig;
    QLabel *title = nullptr;
    QAction *play = nullptr;
    QLabel *time = nullptr;
    QSlider *seek = nullptr;
    QTableView *table = nullptr;
    vurnCore *core = nullptr;
    std::unique_ptr<AudioFixtures> scratch; // per-test copies that may be broken
};

void tst_VurnCoreFailures::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 8; ++i) {
        const QString file = fixtures->make(QStringLiteral("t%1.wav").arg(i), 2500,
                                            TrackTags{QStringLiteral("T%1").arg(i), {}, {}, 0});
        QVERIFY(!file.isEmpty());
        files << file;
    }
    broken = fixtures->makeBroken(QStringLiteral("broken.wav"));
    QVERIFY(!broken.isEmpty());

    // The first start of the media framework is slow; get it over with here.
    vurnCore warm;
    QVERIFY(warm.addFiles({files.first()}));
    QVERIFY(warm.playTrack(0, false));
    QTRY_VERIFY_WITH_TIMEOUT(warm.isPlaying(), 10000);
    warm.stopPlayback(nullptr);
    QTRY_VERIFY(!warm.isPlaying());
}

void tst_VurnCoreFailures::init()
{
    rig = std::make_unique<ControllerRig>();
    title = &rig->title;
    play = &rig->play;
    time = &rig->time;
    seek = &rig->seek;
    table = &rig->table;
    core = rig->core.get();
    scratch = std::make_unique<AudioFixtures>();
}

void tst_VurnCoreFailures::cleanup()
{
    rig.reset();
    title = nullptr;
    play = nullptr;
    time = nullptr;
    seek = nullptr;
    table = nullptr;
    core = nullptr;
    scratch.reset();
}

void tst_VurnCoreFailures::addTracks(int count)
{
    // Copies, so that a test may break one of them.
    QStringList copies;
    for (int i = 0; i < count; ++i) {
        const QString copy = scratch->path(QStringLiteral("c%1.wav").arg(i));
        QVERIFY(QFile::copy(files.at(i), copy));
        copies << copy;
    }
    QVERIFY(core->addFiles(copies));
    QCOMPARE(core->playlist->size(), count);
}

void tst_VurnCoreFailures::breakTrack(int index)
{
    const QString path = core->tracks().at(index)->filePath;
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::copy(broken, path));
}

bool tst_VurnCoreFailures::waitPlaying(int timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!core->isPlaying() && clock.elapsed() < timeout)
        QTest::qWait(20);
    return core->isPlaying();
}

void tst_VurnCoreFailures::missingFileFails()
{
    addTracks(3);
    core->setModeText(QStringLiteral("全曲リピート(>>)"));
    QVERIFY(core->playTrack(0, false));
    QVERIFY(waitPlaying());
    QSignalSpy failed(core, &vurnCore::trackFailed);
    QVERIFY(QFile::remove(core->tracks().at(1)->filePath));
    QVERIFY(!core->playNext());
    QVERIFY(core->lastTrackFailed());
    QCOMPARE(play->text(), QStringLiteral("♪"));
    QCOMPARE(title->text(), QStringLiteral("1 : T0"));
    // Reported once the call that tried it has returned.
    QTRY_COMPARE(failed.count(), 1);
    QTRY_VERIFY(!core->isPlaying());
    // The missing track counts as the one tried last: the next one follows.
    QCOMPARE(core->currentIndex, 1);
    QVERIFY(core->playNext());
    QCOMPARE(core->currentIndex, 2);
    QVERIFY(waitPlaying());
    QVERIFY(!core->lastTrackFailed());
    QTest::qWait(100);
    QCOMPARE(failed.count(), 1);
}

void tst_VurnCoreFailures::undecodableFileFails()
{
    addTracks(2);
    breakTrack(0);
    QSignalSpy failed(core, &vurnCore::trackFailed);
    QVERIFY(core->playTrack(0, false)); // the file exists: handed to the backend
    QVERIFY(failed.wait(8000));
    QVERIFY(core->lastTrackFailed());
    QCOMPARE(play->text(), QStringLiteral("♪"));
    QTest::qWait(1500);
    QCOMPARE(failed.count(), 1); // once, however the backend reports it
    QVERIFY(!core->isPlaying());
    QCOMPARE(play->text(), QStringLiteral("♪"));
}

void tst_VurnCoreFailures::stalledStartFails()
{
    addTracks(1);
    core->startTimeoutMsec = 1; // gives up before the backend can start
    QSignalSpy failed(core, &vurnCore::trackFailed);
    QVERIFY(core->playTrack(0, false));
    QVERIFY(failed.wait(3000));
    QCOMPARE(play->text(), QStringLiteral("♪"));
    QTest::qWait(1500);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!core->isPlaying()); // and it does not start sounding later
    QCOMPARE(play->text(), QStringLiteral("♪"));

    core->startTimeoutMsec = 5000;
    QVERIFY(core->playTrack(0, false));
    QVERIFY(waitPlaying());
    QTest::qWait(200);
    QCOMPARE(failed.count(), 1);
    QCOMPARE(play->text(), QStringLiteral("■"));
}

void tst_VurnCoreFailures::endOfTrackSkipsBrokenTrackOnce()
{
    addTracks(3);
    breakTrack(1);
    core->setModeText(QStringLiteral("全曲リピート(>>)"));
    // What the main window does at the end of a track in a repeating mode.
    connect(core, &vurnCore::trackEnded, core, &vurnCore::playNextAfterEnd);
    QSignalSpy failed(core, &vurnCore::trackFailed);
    QVERIFY(core->playTrack(0, false));
    QVERIFY(waitPlaying());
    // T0 ends, T1 fails, T2 plays.
    QTRY_COMPARE_WITH_TIMEOUT(core->currentIndex, 2, 8000);
    QVERIFY(waitPlaying());
    QCOMPARE(failed.count(), 1);
    QCOMPARE(play->text(), QStringLiteral("■"));
    QVERIFY(!core->lastTrackFailed());
}

void tst_VurnCoreFailures::endOfTrackStopsAfterOnePass_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("kinds"); // b: undecodable, m: missing
    QTest::addColumn<int>("failures");
    QTest::newRow("forwards, undecodable") << "全曲リピート(>>)" << "bbb" << 3;
    QTest::newRow("backwards, mixed") << "全曲リピート(<<)" << "bmb" << 3;
    QTest::newRow("forwards, missing") << "全曲リピート(>>)" << "mmm" << 3;
    QTest::newRow("random") << "ランダム" << "bbb" << 3;
    QTest::newRow("shuffle") << "シャッフル" << "bmb" << 3;
    QTest::newRow("one repeats once") << "1曲リピート" << "bbb" << 1;
}

void tst_VurnCoreFailures::endOfTrackStopsAfterOnePass()
{
    QFETCH(QString, mode);
    QFETCH(QString, kinds);
    QFETCH(int, failures);
    addTracks(kinds.size());
    for (int i = 0; i < kinds.size(); ++i) {
        if (kinds.at(i) == QLatin1Char('b'))
            breakTrack(i);
        else
            QVERIFY(QFile::remove(core->tracks().at(i)->filePath));
    }
    core->setModeText(mode);
    connect(core, &vurnCore::trackEnded, core, &vurnCore::playNextAfterEnd);
    QSignalSpy failed(core, &vurnCore::trackFailed);
    // Missing files fail at once, so the chain is started as the main window
    // would after a failure it heard of.
    core->playTrack(0, false);
    if (!core->lastTrackFailed())
        QVERIFY(failed.wait(8000));
    if (kinds.at(0) == QLatin1Char('m'))
        core->playNextAfterEnd();
    QTRY_COMPARE_WITH_TIMEOUT(failed.count(), failures, 10000);
    QTest::qWait(2000);
    QCOMPARE(failed.count(), failures);
    QCOMPARE(play->text(), QStringLiteral("♪"));
    QVERIFY(!core->isPlaying());
}

QTEST_MAIN(tst_VurnCoreFailures)
#include "tst_vurncorefailures.moc"
