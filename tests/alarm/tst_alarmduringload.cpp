// An alarm whose minute comes while a large add is under way, its progress
// box open: it fires from the rows that are in (the rest held back, so it
// cannot have waited for them), a numbered track waits for its own row only,
// and the add goes on to the end in order afterwards.
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "app/mainwindow.h"
#include "library/musicinfo.h"
#include "playlist/playlist.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/playliststore.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/soundserverprobe.h"

#include <QAction>
#include <QFile>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {
// 2024-01-01 was a Monday.
QDateTime mon(int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2024, 1, 1), QTime(hour, minute, second));
}
} // namespace

class tst_AlarmDuringLoad : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firesFromTheRowsIn_data();
    void firesFromTheRowsIn();

private:
    QStringList rowFiles(int from, int count) const;

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<MainWindow> window;
    QDateTime clock;
    QStringList files;
};

void tst_AlarmDuringLoad::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    // One long track under many names: every row plays for a while, and the
    // paths tell the rows apart.
    const QString track = fixtures->make(QStringLiteral("long.wav"), 30000);
    QVERIFY(!track.isEmpty());
    for (int i = 0; i < 2000; ++i) {
        const QString name = fixtures->path(QStringLiteral("r%1.wav").arg(i, 4, 10, QLatin1Char('0')));
        QVERIFY(QFile::link(track, name));
        files << name;
    }
    alarmClock::setSource([this] { return clock; });
}

void tst_AlarmDuringLoad::init()
{
    clock = mon(11, 59, 50);
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ringer->toneDelayMsec = 600000; // what is heard is the list's
}

void tst_AlarmDuringLoad::cleanup()
{
    if (window) {
        window->loader->setHeld(false);
        window->loader->cancel();
        window->core->stopPlayback(window->findChild<QAction *>(QStringLiteral("actionPlay")));
    }
    window.reset();
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

QStringList tst_AlarmDuringLoad::rowFiles(int from, int count) const
{
    QStringList paths;
    const QList<musicInfo *> tracks = window->core->tracks();
    for (int i = from; i < from + count && i < tracks.size(); ++i)
        paths << tracks.at(i)->filePath;
    return paths;
}

void tst_AlarmDuringLoad::firesFromTheRowsIn_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<bool>("firstPlay");
    QTest::addColumn<bool>("ownList");
    QTest::addColumn<int>("ahead"); // a numbered track this far past the rows in; -1: none
    QTest::newRow("next in the forward mode") << "全曲リピート(>>)" << false << false << -1;
    QTest::newRow("the first track") << "リピートなし" << true << false << -1;
    QTest::newRow("random among the rows in") << "ランダム" << false << false << -1;
    QTest::newRow("a numbered track not in yet") << "リピートなし：" << false << false << 150;
    QTest::newRow("its own playlist in place of the list") << "全曲リピート(>>)" << false << true << -1;
}

void tst_AlarmDuringLoad::firesFromTheRowsIn()
{
    QFETCH(QString, mode);
    QFETCH(bool, firstPlay);
    QFETCH(bool, ownList);
    QFETCH(int, ahead);
    const QStringList mainList = files.mid(0, 1500);
    const QStringList own = files.mid(1500, 400);
    if (ownList)
        QVERIFY(playlistStore::save(QStringLiteral("朝"), musicInfo::entriesFor(own)));
    trackLoader *loader = window->loader;
    loader->progressDelayMsec = 0;
    loader->sliceRows = 20; // many slices, however quickly the files are read

    // The minute comes right after a slice's rows, where the progress box's
    // update used to run the event loop; from then on the rest of the list
    // is held back, unless it is waited for.
    int rowsAtMinute = -1;
    int holdFrom = -1;
    connect(loader, &trackLoader::tracksAdded, this, [&] {
        const int rows = window->core->playlist->size();
        if (holdFrom >= 0 && rows > holdFrom)
            loader->setHeld(true);
        if (rowsAtMinute >= 0 || rows < 100 || !loader->progressDialog())
            return;
        rowsAtMinute = rows;
        const QString alarmMode = ahead < 0 ? mode : mode + QString::number(rows + ahead);
        window->setWin->setAlarmList(
            makeAlarmList(window.get(), {{"12:00", "0", alarmMode, true, firstPlay, true, "しない", "しない",
                                          ownList ? QStringLiteral("朝") : QStringLiteral("標準プレイリスト")}}));
        clock = mon(12, 0, 1);
        if (!ownList)
            loader->setHeld(true);
        QTimer::singleShot(0, window.get(), [this] { window->checkAlarms(); });
    });
    loader->addFiles(mainList);
    QTRY_VERIFY_WITH_TIMEOUT(window->ringer->isRinging(), 60000);
    QVERIFY(rowsAtMinute >= 100);

    int expectedRow = -1;
    if (ahead >= 0) {
        // Waiting for its row, the rest of the list stays out.
        expectedRow = rowsAtMinute + ahead - 1;
        QTest::qWait(300);
        QVERIFY(!window->core->isPlaying());
        QVERIFY(loader->isWaiting());
        QVERIFY(window->core->playlist->size() <= expectedRow);
        holdFrom = expectedRow;
        loader->setHeld(false);
    } else if (firstPlay || ownList) {
        expectedRow = 0; // the top of the list, or of its own list
    } else if (mode == QStringLiteral("全曲リピート(>>)")) {
        expectedRow = 1;
    }
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(!SoundServerProbe::audibleStreams().isEmpty(), 60000);
    QVERIFY(!window->ringer->isToneSounding());
    const int playing = window->core->currentIndex;
    QVERIFY(playing >= 0 && playing < window->core->playlist->size());
    if (expectedRow >= 0)
        QCOMPARE(playing, expectedRow);

    if (ownList) {
        // The list it replaced is set aside whole, the rows that were still to come included.
        const QList<storedTrack> aside = playlistStore::entries(playlistStore::setAsideName());
        QCOMPARE(aside.size(), mainList.size());
        QCOMPARE(aside.first().file, mainList.first());
        QCOMPARE(aside.last().file, mainList.last());
        QCOMPARE(rowFiles(playing, 1), own.mid(playing, 1));
        QTRY_VERIFY_WITH_TIMEOUT(!loader->isBusy(), 120000);
        QCOMPARE(rowFiles(0, own.size()), own);
        return;
    }
    // Started before the load completed; afterwards the add goes on to its end, in order.
    QVERIFY(loader->isBusy());
    QCOMPARE(rowFiles(playing, 1), mainList.mid(playing, 1));
    holdFrom = -1;
    loader->setHeld(false);
    QTRY_VERIFY_WITH_TIMEOUT(!loader->isBusy(), 120000);
    QCOMPARE(rowFiles(0, mainList.size()), mainList);
    QVERIFY(window->core->isPlaying());
}

QTEST_MAIN(tst_AlarmDuringLoad)
#include "tst_alarmduringload.moc"
