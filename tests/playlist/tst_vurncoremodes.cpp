// The playback controller's choice of track by play mode, its history and
// shuffle order, with real files playing into the null sink. The volume is
// tst_vurncorevolume, tracks that cannot be played tst_vurncorefailures.
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

class tst_VurnCoreModes : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void nextAndPrevious_data();
    void nextAndPrevious();
    void randomModesStayInList_data();
    void randomModesStayInList();
    void rowNamedByNext_data();
    void rowNamedByNext();
    void startShowsTrack();
    void playingTrackIsNotWatched();
    void historyRules();
    void historySkipsRemovedTracks();
    void shuffleVisitsEachOncePerRound();
    void shuffleSkipsRemovedTracks();

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

void tst_VurnCoreModes::initTestCase()
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

void tst_VurnCoreModes::init()
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

void tst_VurnCoreModes::cleanup()
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

void tst_VurnCoreModes::addTracks(int count)
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

void tst_VurnCoreModes::breakTrack(int index)
{
    const QString path = core->tracks().at(index)->filePath;
    QVERIFY(QFile::remove(path));
    QVERIFY(QFile::copy(broken, path));
}

bool tst_VurnCoreModes::waitPlaying(int timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!core->isPlaying() && clock.elapsed() < timeout)
        QTest::qWait(20);
    return core->isPlaying();
}

void tst_VurnCoreModes::nextAndPrevious_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("previous");

    const QString forwards = QStringLiteral("全曲リピート(>>)");
    const QString backwards = QStringLiteral("全曲リピート(<<)");
    const QString one = QStringLiteral("1曲リピート");
    const QString none = QStringLiteral("リピートなし");
    QTest::newRow("forwards, middle") << forwards << 5 << 2 << 3 << 1;
    QTest::newRow("forwards, last wraps") << forwards << 5 << 4 << 0 << 3;
    QTest::newRow("forwards, from 1") << forwards << 5 << 1 << 2 << 0;
    QTest::newRow("forwards, first wraps back") << forwards << 5 << 0 << 1 << 4;
    QTest::newRow("backwards, first wraps") << backwards << 5 << 0 << 4 << 1;
    QTest::newRow("backwards, last wraps back") << backwards << 5 << 4 << 3 << 0;
    QTest::newRow("one repeats") << one << 5 << 3 << 3 << 3;
    QTest::newRow("no repeat starts at the top") << none << 5 << 3 << 0 << 3;
    QTest::newRow("unknown text as no repeat") << QStringLiteral("whatever") << 5 << 2 << 0 << 2;
    QTest::newRow("numbered 3") << QStringLiteral("リピートなし：3") << 5 << 1 << 2 << 1;
    QTest::newRow("numbered last") << QStringLiteral("リピートなし：5") << 5 << 1 << 4 << 1;
    // A track number naming no track starts the list from the top.
    QTest::newRow("numbered 0") << QStringLiteral("リピートなし：0") << 5 << 3 << 0 << 3;
    QTest::newRow("numbered too large") << QStringLiteral("リピートなし：6") << 5 << 3 << 0 << 3;
    QTest::newRow("numbered negative") << QStringLiteral("リピートなし：-2") << 5 << 3 << 0 << 3;
    QTest::newRow("numbered not a number") << QStringLiteral("リピートなし：x") << 5 << 3 << 0 << 3;
    QTest::newRow("numbered missing") << QStringLiteral("リピートなし：") << 5 << 3 << 0 << 3;
    // One track: everything comes back to it, except a number naming another.
    for (const QString &mode : {forwards, backwards, one, none, QStringLiteral("ランダム"),
                                QStringLiteral("シャッフル"), QStringLiteral("リピートなし：ランダム"),
                                QStringLiteral("リピートなし：1")})
        QTest::newRow(qPrintable(QStringLiteral("one track, ") + mode)) << mode << 1 << 0 << 0 << 0;
    // currentIndex is left alone by removals; a stale one never reaches the list.
    QTest::newRow("stale, forwards") << forwards << 5 << 7 << 0 << 4;
    QTest::newRow("stale, backwards") << backwards << 5 << 7 << 4 << 0;
    QTest::newRow("stale, one") << one << 5 << 7 << 0 << 0;
    QTest::newRow("stale, no repeat") << none << 5 << 7 << 0 << 0;
}

void tst_VurnCoreModes::nextAndPrevious()
{
    QFETCH(QString, mode);
    QFETCH(int, size);
    QFETCH(int, current);
    QFETCH(int, next);
    QFETCH(int, previous);
    addTracks(size);
    core->setModeText(mode);

    core->currentIndex = current;
    QVERIFY(core->playNext());
    QCOMPARE(core->currentIndex, next);
    QCOMPARE(title->text(), QStringLiteral("%1 : T%2").arg(next + 1).arg(next));
    // Let it start: the backend can drop a track replaced while still loading.
    QVERIFY(waitPlaying());

    core->history.clear();
    core->currentIndex = current;
    QVERIFY(core->playPrevious());
    QCOMPARE(core->currentIndex, previous);
    QCOMPARE(title->text(), QStringLiteral("%1 : T%2").arg(previous + 1).arg(previous));
    QVERIFY(waitPlaying());
}

// The row a list still coming in must hold before the mode can choose: the
// one playNext starts once it is there, whatever the list's length now.
void tst_VurnCoreModes::rowNamedByNext_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("named");
    QTest::addColumn<bool>("started"); // on five tracks, playNext starts that row
    QTest::newRow("forwards") << "全曲リピート(>>)" << 2 << 3 << true;
    QTest::newRow("forwards, past what is in") << "全曲リピート(>>)" << 40 << 41 << false;
    QTest::newRow("forwards, from before the top") << "全曲リピート(>>)" << -1 << 0 << true;
    QTest::newRow("backwards") << "全曲リピート(<<)" << 3 << 2 << true;
    QTest::newRow("backwards from the top: any row") << "全曲リピート(<<)" << 0 << 0 << false;
    QTest::newRow("one repeats") << "1曲リピート" << 4 << 4 << true;
    QTest::newRow("numbered") << "リピートなし：4" << 0 << 3 << true;
    QTest::newRow("numbered past what is in") << "リピートなし：250" << 0 << 249 << false;
    QTest::newRow("numbered, not a number") << "リピートなし：x" << 2 << 0 << true;
    QTest::newRow("one random: any row") << "リピートなし：ランダム" << 3 << 0 << false;
    QTest::newRow("random: any row") << "ランダム" << 3 << 0 << false;
    QTest::newRow("shuffle: any row") << "シャッフル" << 3 << 0 << false;
    QTest::newRow("no repeat: the top") << "リピートなし" << 3 << 0 << true;
}

void tst_VurnCoreModes::rowNamedByNext()
{
    QFETCH(QString, mode);
    QFETCH(int, current);
    QFETCH(int, named);
    QFETCH(bool, started);
    core->setModeText(mode);
    core->currentIndex = current;
    QCOMPARE(core->rowNamedByNext(), named);
    if (!started)
        return;
    addTracks(5);
    core->currentIndex = current;
    QVERIFY(core->playNext());
    QCOMPARE(core->currentIndex, named);
    QVERIFY(waitPlaying());
}

void tst_VurnCoreModes::randomModesStayInList_data()
{
    QTest::addColumn<QString>("mode");
    QTest::newRow("random") << QStringLiteral("ランダム");
    QTest::newRow("one random") << QStringLiteral("リピートなし：ランダム");
    QTest::newRow("shuffle") << QStringLiteral("シャッフル");
}

void tst_VurnCoreModes::randomModesStayInList()
{
    QFETCH(QString, mode);
    addTracks(3);
    core->setModeText(mode);
    QSet<int> seen;
    for (int i = 0; i < 30; ++i) {
        QVERIFY(core->playNext());
        QVERIFY(core->currentIndex >= 0 && core->currentIndex < 3);
        seen << core->currentIndex;
    }
    // 30 draws from 3 tracks miss one of them with a chance of about 1e-5.
    QCOMPARE(seen.size(), 3);
    // With nothing to go back to, going back draws afresh.
    core->history.clear();
    QVERIFY(core->playPrevious());
    QVERIFY(core->currentIndex >= 0 && core->currentIndex < 3);
}

void tst_VurnCoreModes::startShowsTrack()
{
    addTracks(3);
    QSignalSpy failed(core, &vurnCore::trackFailed);
    QVERIFY(core->playTrack(2, false));
    QCOMPARE(core->currentIndex, 2);
    QCOMPARE(title->text(), QStringLiteral("3 : T2"));
    QCOMPARE(play->text(), QStringLiteral("■"));
    QCOMPARE(seek->maximum(), 2000); // whole seconds, as the tags report it
    QCOMPARE(seek->value(), 0);
    QCOMPARE(time->text(), QStringLiteral("00:00 ／ 00:02"));
    QCOMPARE(table->selectionModel()->selectedRows().size(), 1);
    QCOMPARE(table->selectionModel()->selectedRows().first().row(), 2);
    QVERIFY(waitPlaying());
    QCOMPARE(core->currentLength(), 2000);
    core->updatePosition(61000, 3600000);
    QCOMPARE(time->text(), QStringLiteral("01:01 ／ 60:00"));
    core->stopPlayback(play);
    QCOMPARE(play->text(), QStringLiteral("♪"));
    QTRY_VERIFY(!core->isPlaying());
    QVERIFY(!core->lastTrackFailed());
    QCOMPARE(failed.count(), 0);
}

void tst_VurnCoreModes::playingTrackIsNotWatched()
{
    const QString longer = scratch->make(QStringLiteral("long.wav"), 6000);
    QVERIFY(core->addFiles({longer}));
    // Runs out while the track plays: once playing, it is not watched any more.
    core->startTimeoutMsec = 2500;
    QSignalSpy failed(core, &vurnCore::trackFailed);
    QElapsedTimer clock;
    clock.start();
    QVERIFY(core->playTrack(0, false));
    QVERIFY(waitPlaying());
    QTest::qWait(int(qMax<qint64>(0, 3000 - clock.elapsed())));
    QVERIFY(core->isPlaying());
    QCOMPARE(play->text(), QStringLiteral("■"));
    QCOMPARE(failed.count(), 0);
}

void tst_VurnCoreModes::historyRules()
{
    addTracks(8);
    // Start 5, 2 and 7 through playNext, as an alarm naming the track would.
    for (int number : {6, 3, 8}) {
        core->setModeText(QStringLiteral("リピートなし：%1").arg(number));
        QVERIFY(core->playNext());
    }
    QCOMPARE(core->history, QVector<quint32>({7, 7, 2, 2, 5}));

    core->setModeText(QStringLiteral("ランダム"));
    for (int expected : {5, 2, 2, 7, 7}) {
        QVERIFY(core->playPrevious());
        QCOMPARE(core->currentIndex, expected);
    }
    QVERIFY(core->history.isEmpty());
    QCOMPARE(core->popHistory(), quint32(2147483647));
    QVERIFY(core->playPrevious());
    QVERIFY(core->currentIndex >= 0 && core->currentIndex < 8);
    QVERIFY(core->history.isEmpty()); // going back records nothing

    // The same index twice in a row at the end is recorded once; the history
    // never holds more entries than there are tracks, the newest kept.
    core->pushHistory(4);
    core->pushHistory(4);
    QCOMPARE(core->history, QVector<quint32>({4}));
    core->history.clear();
    for (int i = 0; i < 12; ++i)
        core->pushHistory(i);
    QCOMPARE(core->history.size(), 8);
    QCOMPARE(core->history.first(), quint32(11));
    QCOMPARE(core->history.last(), quint32(4));
    QCOMPARE(core->popHistory(), quint32(4));
}

void tst_VurnCoreModes::historySkipsRemovedTracks()
{
    addTracks(8);
    core->setModeText(QStringLiteral("ランダム"));
    core->history = {7, 1, 6};
    QVERIFY(core->removeTracks(5, 7));
    QVERIFY(core->playPrevious()); // 6 is gone: 1
    QCOMPARE(core->currentIndex, 1);
    QVERIFY(core->playPrevious()); // 7 is gone too: a random one
    QVERIFY(core->currentIndex >= 0 && core->currentIndex < 5);

    core->setModeText(QStringLiteral("シャッフル"));
    core->history = {6, 7};
    QVERIFY(core->playPrevious());
    QVERIFY(core->currentIndex >= 0 && core->currentIndex < 5);
}

void tst_VurnCoreModes::shuffleVisitsEachOncePerRound()
{
    addTracks(4);
    core->setModeText(QStringLiteral("シャッフル"));
    for (int round = 0; round < 5; ++round) {
        QSet<int> seen;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(core->playNext());
            seen << core->currentIndex;
            QCOMPARE(core->shuffleOrder.size(), 3 - i);
        }
        QCOMPARE(seen, QSet<int>({0, 1, 2, 3}));
    }
}

void tst_VurnCoreModes::shuffleSkipsRemovedTracks()
{
    addTracks(6);
    core->setModeText(QStringLiteral("シャッフル"));
    QVERIFY(core->playNext());
    QCOMPARE(core->shuffleOrder.size(), 5);
    QVERIFY(core->removeTracks(3, 5));
    // The rest of the old order holds at most three valid entries, then a new
    // order of the three remaining tracks follows.
    for (int i = 0; i < 7; ++i) {
        QVERIFY(core->playNext());
        QVERIFY2(core->currentIndex >= 0 && core->currentIndex < 3,
                 qPrintable(QString::number(core->currentIndex)));
    }
    for (quint32 entry : qAsConst(core->shuffleOrder))
        QVERIFY(entry < 3);
}

QTEST_MAIN(tst_VurnCoreModes)
#include "tst_vurncoremodes.moc"
