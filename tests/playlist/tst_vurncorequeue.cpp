// The controller's gapless changes with real files on the null sink: the
// mode's next track follows on one stream and is shown once it is heard, a
// stop choice made after it was queued still stops at the end, and a queued
// track that is gone or cannot be decoded is passed over.
#include "player/musicplay.h"
#include "playlist/playlist.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"
#include "support/soundserverprobe.h"

#include <QFile>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class tst_VurnCoreQueue : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void followsOnWhenHeard_data();
    void followsOnWhenHeard();
    void lateStopChoiceEndsHere_data();
    void lateStopChoiceEndsHere();
    void queuedTrackPassedOver_data();
    void queuedTrackPassedOver();

private:
    void addTracks(int count);

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<AudioFixtures> scratch;
    std::unique_ptr<ControllerRig> rig;
    QString broken;
    vurnCore *core = nullptr;
};

void tst_VurnCoreQueue::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 3; ++i)
        QVERIFY(!fixtures->make(QStringLiteral("t%1.wav").arg(i), 2000, TrackTags{QStringLiteral("T%1").arg(i), {}, {}, 0})
                     .isEmpty());
    broken = fixtures->makeBroken(QStringLiteral("broken.wav"));
    QVERIFY(!broken.isEmpty());
}

void tst_VurnCoreQueue::init()
{
    rig = std::make_unique<ControllerRig>();
    core = rig->core.get();
    scratch = std::make_unique<AudioFixtures>();
}

void tst_VurnCoreQueue::cleanup()
{
    rig.reset();
    core = nullptr;
    scratch.reset();
}

void tst_VurnCoreQueue::addTracks(int count)
{
    QStringList copies;
    for (int i = 0; i < count; ++i) {
        const QString copy = scratch->path(QStringLiteral("c%1.wav").arg(i));
        QVERIFY(QFile::copy(fixtures->path(QStringLiteral("t%1.wav").arg(i)), copy));
        copies << copy;
    }
    QVERIFY(core->addFiles(copies));
}

void tst_VurnCoreQueue::followsOnWhenHeard_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("expected"); // -1: any row
    QTest::newRow("repeat one") << "1曲リピート" << 1;
    QTest::newRow("forwards") << "全曲リピート(>>)" << 2;
    QTest::newRow("backwards") << "全曲リピート(<<)" << 0;
    QTest::newRow("random") << "ランダム" << -1;
    QTest::newRow("shuffle") << "シャッフル" << -1;
}

void tst_VurnCoreQueue::followsOnWhenHeard()
{
    QFETCH(QString, mode);
    QFETCH(int, expected);
    addTracks(3);
    core->setModeText(mode);
    QSignalSpy started(core, &vurnCore::trackStarted);
    QSignalSpy ended(core, &vurnCore::trackEnded);
    QVERIFY(core->playTrack(1, false));
    QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
    const QString queued = core->queuedFile();
    QVERIFY(!queued.isEmpty());

    // While the stream has taken the next file and it is not heard yet, the
    // window still shows the track that sounds.
    QString titleWhenTaken;
    QSet<int> streams;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        if (titleWhenTaken.isEmpty() && core->player->engine()->nextTaken())
            titleWhenTaken = rig->title.text();
        for (const HeardStream &stream : SoundServerProbe::audibleStreams())
            streams.insert(stream.index);
    });
    watch.start(10);
    QTRY_VERIFY_WITH_TIMEOUT(started.count() >= 2, 10000);
    watch.stop();

    QCOMPARE(ended.count(), 0);
    QCOMPARE(titleWhenTaken, QStringLiteral("2 : T1"));
    if (expected >= 0)
        QCOMPARE(core->currentIndex, expected);
    QCOMPARE(core->tracks().at(core->currentIndex)->filePath, queued);
    QCOMPARE(rig->title.text(),
             QStringLiteral("%1 : T%2").arg(core->currentIndex + 1).arg(core->currentIndex));
    QCOMPARE(core->history.first(), quint32(core->currentIndex));
    QCOMPARE(streams.size(), 1);
    QVERIFY(core->isPlaying());
}

void tst_VurnCoreQueue::lateStopChoiceEndsHere_data()
{
    QTest::addColumn<bool>("afterTaken");
    QTest::newRow("queued only") << false;
    QTest::newRow("already taken by the stream") << true;
}

void tst_VurnCoreQueue::lateStopChoiceEndsHere()
{
    QFETCH(bool, afterTaken);
    addTracks(3);
    core->setModeText(QStringLiteral("全曲リピート(>>)"));
    bool stopHere = false;
    core->endsWithThisTrack = [&stopHere] { return stopHere; };
    QSignalSpy started(core, &vurnCore::trackStarted);
    QSignalSpy ended(core, &vurnCore::trackEnded);
    QVERIFY(core->playTrack(0, false));
    QTRY_COMPARE_WITH_TIMEOUT(started.count(), 1, 10000);
    QVERIFY(!core->queuedFile().isEmpty());
    if (afterTaken)
        QTRY_VERIFY_WITH_TIMEOUT(core->player->engine()->nextTaken(), 10000);
    stopHere = true;
    core->queueFollowing();
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);
    QCOMPARE(started.count(), 1);
    QCOMPARE(core->currentIndex, 0);
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::audibleStreams().isEmpty(), 5000);
}

void tst_VurnCoreQueue::queuedTrackPassedOver_data()
{
    QTest::addColumn<QString>("fault");
    QTest::newRow("deleted before its turn") << QStringLiteral("deleted");
    QTest::newRow("undecodable") << QStringLiteral("broken");
}

void tst_VurnCoreQueue::queuedTrackPassedOver()
{
    QFETCH(QString, fault);
    addTracks(3);
    core->setModeText(QStringLiteral("全曲リピート(>>)"));
    // What the main window does at the end of a track in a repeating mode.
    connect(core, &vurnCore::trackEnded, core, &vurnCore::playNextAfterEnd);
    QSignalSpy failed(core, &vurnCore::trackFailed);
    QVERIFY(core->playTrack(0, false));
    QTRY_VERIFY_WITH_TIMEOUT(core->isPlaying(), 10000);
    const QString queued = core->tracks().at(1)->filePath;
    QCOMPARE(core->queuedFile(), queued);
    QVERIFY(QFile::remove(queued));
    if (fault == QLatin1String("broken"))
        QVERIFY(QFile::copy(broken, queued));

    QTRY_COMPARE_WITH_TIMEOUT(core->currentIndex, 2, 15000);
    QTRY_VERIFY_WITH_TIMEOUT(core->isPlaying(), 10000);
    QCOMPARE(failed.count(), 1);
    QVERIFY(!core->lastTrackFailed());
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty(), 5000);
}

QTEST_MAIN(tst_VurnCoreQueue)
#include "tst_vurncorequeue.moc"
