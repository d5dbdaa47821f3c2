// The player's volume and mute as the sound server plays them: every stream,
// not only the first, whatever the server remembered from another day, at
// the level each slider position has always been heard at.
#include "player/gstengine.h"
#include "player/musicplay.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"
#include "support/soundserverprobe.h"

#include <QElapsedTimer>
#include <QtTest>

#include <memory>

// Ends the test function at the first failed expectation, as QVERIFY would.
#define EXPECT_HEARD(...) \
    do { \
        expectHeard(__VA_ARGS__); \
        if (QTest::currentTestFailed()) \
            return; \
    } while (false)

class tst_StreamLevel : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void streamPercentMatchesWhatWasHeard_data();
    void streamPercentMatchesWhatWasHeard();
    void everyStreamAtThePlayersLevel_data();
    void everyStreamAtThePlayersLevel();
    void muteHoldsForNewStreams();
    void mixerChangesAfterTheStartStand();

private:
    // Samples the server for `msec`: every stream of ours that is heard plays
    // at `percent` (and mute), and at least one was heard.
    void expectHeard(int percent, bool muted, int msec = 1500);
    void forget(int percent) { QVERIFY(SoundServerProbe::rememberVolume(SoundServerProbe::ownRestoreId(), percent)); }

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<ControllerRig> rig;
    QStringList tracks;
    QString longTrack;
};

namespace {
void setStreamPercent(int index, int percent)
{
    QProcess::execute(QStringLiteral("pactl"), {QStringLiteral("set-sink-input-volume"), QString::number(index),
                                                QString::number(percent) + QLatin1Char('%')});
}
} // namespace

void tst_StreamLevel::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 3; ++i)
        tracks << fixtures->make(QStringLiteral("track%1.flac").arg(i), 4000);
    for (const QString &track : tracks)
        QVERIFY(!track.isEmpty());
    longTrack = fixtures->make(QStringLiteral("long.flac"), 12000);
    QVERIFY(!longTrack.isEmpty());
}

void tst_StreamLevel::init()
{
    rig = std::make_unique<ControllerRig>();
    QVERIFY(rig->core->addFiles(tracks));
    rig->core->setModeText(QStringLiteral("全曲リピート(>>)"));
    // What the main window does at the end of a track.
    connect(rig->core.get(), &vurnCore::trackEnded, rig->core.get(), [this] { rig->core->playNextAfterEnd(); });
}

void tst_StreamLevel::cleanup()
{
    rig.reset();
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::streamsOf().isEmpty(), 5000);
}

void tst_StreamLevel::expectHeard(int percent, bool muted, int msec)
{
    // A stream that has not started, or is still corked while it fills, is
    // not heard at any level; a slow start (a loaded machine) is waited for,
    // then sampled.
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty(), 8000);
    int heard = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < msec) {
        const QList<HeardStream> audible = SoundServerProbe::audibleStreams();
        QVERIFY2(audible.size() <= 1, "more than one stream of the player at once");
        for (const HeardStream &stream : audible) {
            ++heard;
            if (qAbs(stream.percent - percent) > 1 || stream.muted != muted)
                QFAIL(qPrintable(QStringLiteral("stream #%1 heard at %2 %3 (wanted %4 %5) %6 ms in")
                                     .arg(stream.index).arg(stream.percent)
                                     .arg(stream.muted ? "muted" : "").arg(percent)
                                     .arg(muted ? "muted" : "").arg(clock.elapsed())));
        }
        QTest::qWait(5);
    }
    QVERIFY2(heard > 0, "no stream of the player was heard");
}

void tst_StreamLevel::streamPercentMatchesWhatWasHeard_data()
{
    QTest::addColumn<double>("level");
    QTest::addColumn<int>("percent");
    // As the player's streams were heard before it played through GStreamer.
    QTest::newRow("30") << 0.30 << 16;
    QTest::newRow("70") << 0.70 << 58;
    QTest::newRow("90") << 0.90 << 85;
    QTest::newRow("100") << 1.0 << 100;
    QTest::newRow("0") << 0.0 << 0;
}

void tst_StreamLevel::streamPercentMatchesWhatWasHeard()
{
    QFETCH(double, level);
    QFETCH(int, percent);
    QCOMPARE(gstEngine::serverPercent(level), percent);
}

void tst_StreamLevel::everyStreamAtThePlayersLevel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("remembered");
    QTest::newRow("server remembers louder") << 30 << 100;
    QTest::newRow("server remembers quieter") << 70 << 3;
}

void tst_StreamLevel::everyStreamAtThePlayersLevel()
{
    QFETCH(int, level);
    QFETCH(int, remembered);
    vurnCore &core = *rig->core;
    const int wanted = gstEngine::serverPercent(level / 100.0);
    QVERIFY(qAbs(wanted - remembered) > 5);

    // Set while stopped, as a restored volume or an alarm's is.
    core.setVolumePercent(level, nullptr, nullptr);
    forget(remembered);
    QVERIFY(core.playTrack(0, false));
    EXPECT_HEARD(wanted, false);

    forget(remembered);
    const int before = core.currentIndex;
    QVERIFY(core.playNext()); // Next
    QCOMPARE(core.currentIndex, (before + 1) % 3);
    EXPECT_HEARD(wanted, false);

    // The end of the track starts the next one.
    forget(remembered);
    const int playing = core.currentIndex;
    QTRY_COMPARE_WITH_TIMEOUT(core.currentIndex, (playing + 1) % 3, 8000);
    EXPECT_HEARD(wanted, false);

    // Stop, then play again.
    core.stopPlayback(&rig->play);
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::streamsOf().isEmpty(), 5000);
    forget(remembered);
    QVERIFY(core.playTrack(0, false));
    EXPECT_HEARD(wanted, false);

    // A change while playing is heard on this stream and the next.
    core.setVolumePercent(50, nullptr, nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::audibleStreams().value(0).percent == gstEngine::serverPercent(0.5), 5000);
    forget(remembered);
    QVERIFY(core.playPrevious());
    EXPECT_HEARD(gstEngine::serverPercent(0.5), false);
}

void tst_StreamLevel::muteHoldsForNewStreams()
{
    vurnCore &core = *rig->core;
    core.setVolumePercent(60, nullptr, nullptr);
    QVERIFY(core.playTrack(0, false));
    EXPECT_HEARD(gstEngine::serverPercent(0.6), false, 500);
    core.toggleMute(nullptr);
    // On a loaded machine the short track may end first; the next one counts too.
    QTRY_VERIFY_WITH_TIMEOUT(SoundServerProbe::audibleStreams().value(0).muted, 10000);

    // The server remembers our streams unmuted and loud: the next one stays muted.
    forget(100);
    QVERIFY(core.playNext());
    QElapsedTimer clock;
    clock.start();
    int heard = 0;
    while (clock.elapsed() < 1500) {
        for (const HeardStream &stream : SoundServerProbe::audibleStreams()) {
            ++heard;
            QVERIFY2(stream.muted, "a new stream played unmuted while the player is muted");
        }
        QTest::qWait(5);
    }
    QVERIFY(heard > 0);

    // Unmuting brings back the level, on the stream and on the next one.
    core.toggleMute(nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty()
                                 && !SoundServerProbe::audibleStreams().first().muted, 5000);
    EXPECT_HEARD(gstEngine::serverPercent(0.6), false, 300);
    forget(100);
    QVERIFY(core.playNext());
    EXPECT_HEARD(gstEngine::serverPercent(0.6), false);
}

void tst_StreamLevel::mixerChangesAfterTheStartStand()
{
    vurnCore &core = *rig->core;
    QVERIFY(core.addFiles({longTrack}));
    core.setVolumePercent(40, nullptr, nullptr);
    const int wanted = gstEngine::serverPercent(0.4);
    QVERIFY(core.playTrack(3, false));
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty(), 5000);
    const int index = SoundServerProbe::audibleStreams().first().index;
    QTRY_COMPARE_WITH_TIMEOUT(SoundServerProbe::audibleStreams().value(0).percent, wanted, 5000);

    // A mixer change is the person's and stands...
    setStreamPercent(index, 95);
    QTest::qWait(500);
    QCOMPARE(SoundServerProbe::streamsOf().first().percent, 95);
    QCOMPARE(core.volume(), 0.4);
    // ...until the next track started, which plays at the player's level.
    QVERIFY(core.playTrack(0, false));
    EXPECT_HEARD(wanted, false);
}

QTEST_MAIN(tst_StreamLevel)
#include "tst_streamlevel.moc"
