// Adding many tracks in slices: the event loop keeps running, rows arrive in
// order, cancelling keeps what was added, one report at the end.
#include "library/musicinfo.h"
#include "playlist/playlist.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"
#include "support/modalanswerer.h"
#include "support/playlisttable.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <limits>
#include <thread>
#include <memory>

class tst_TrackLoader : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void smallAddFinishesInTheCall();
    void longAddKeepsTheLoopRunning();
    void cancelKeepsWhatWasAdded();
    void queuedAddsKeepTheirOrder();
    void finishNowAddsEverything();
    void oneReportForAllSlices();
    void readEntriesComeFirst_data();
    void readEntriesComeFirst();
    void callsFromItsSignals_data();
    void callsFromItsSignals();
    void waitsForOneRow_data();
    void waitsForOneRow();

private:
    QStringList tableTitles() const;
    QStringList expectedTitles(int count) const;

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<ControllerRig> rig;
    std::unique_ptr<trackLoader> loader;
    QStringList files; // t0000 .. t1499
};

void tst_TrackLoader::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 1500; ++i) {
        const QString name = QStringLiteral("t%1").arg(i, 4, 10, QLatin1Char('0'));
        files << fixtures->makeTinyWav(QStringLiteral("lib/%1/%2.wav").arg(i / 100).arg(name), 1000,
                                       TrackTags{name, {}, {}, 0});
    }
    QVERIFY(!files.contains(QString()));
}

void tst_TrackLoader::init()
{
    rig = std::make_unique<ControllerRig>();
    loader = std::make_unique<trackLoader>(rig->core.get(), nullptr);
    loader->sliceMsec = 2;
}

void tst_TrackLoader::cleanup()
{
    loader.reset();
    rig.reset();
}

QStringList tst_TrackLoader::tableTitles() const
{
    QStringList titles;
    titles << PlaylistTable::titles(&rig->table);
    return titles;
}

QStringList tst_TrackLoader::expectedTitles(int count) const
{
    QStringList titles;
    for (int i = 0; i < count; ++i)
        titles << QStringLiteral("t%1").arg(i, 4, 10, QLatin1Char('0'));
    return titles;
}

void tst_TrackLoader::smallAddFinishesInTheCall()
{
    loader->sliceMsec = 40;
    QSignalSpy finished(loader.get(), &trackLoader::finished);
    loader->addFiles(files.mid(0, 3));
    QVERIFY(!loader->isBusy());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(tableTitles(), expectedTitles(3));
    QCOMPARE(rig->core->countText, QStringLiteral("3"));
    QVERIFY(!loader->progressDialog());
}

void tst_TrackLoader::longAddKeepsTheLoopRunning()
{
    int ticks = 0;
    QTimer other;
    connect(&other, &QTimer::timeout, [&ticks] { ++ticks; });
    other.start(1);
    QSignalSpy finished(loader.get(), &trackLoader::finished);
    loader->addFiles(files);
    QVERIFY(loader->isBusy());
    const int rowsAtReturn = PlaylistTable::rows(&rig->table);
    QVERIFY(rowsAtReturn < files.size());
    QVERIFY(finished.wait(60000));
    // Other timers ran between the slices, and the rows arrived in order.
    QVERIFY(ticks > 0);
    QCOMPARE(tableTitles(), expectedTitles(files.size()));
    QCOMPARE(rig->core->playlist->totalMsec, qint64(files.size()) * 1000);
    QCOMPARE(rig->core->countText, QString::number(files.size()));
}

void tst_TrackLoader::cancelKeepsWhatWasAdded()
{
    loader->progressDelayMsec = 0;
    QSignalSpy finished(loader.get(), &trackLoader::finished);
    // The user presses cancel after the third batch of rows, while the rest
    // is still being read ahead.
    int batches = 0;
    QString buttonText;
    connect(loader.get(), &trackLoader::tracksAdded, this, [&] {
        if (++batches != 3)
            return;
        QProgressDialog *dialog = loader->progressDialog();
        QVERIFY(dialog);
        QVERIFY(dialog->labelText().startsWith(QStringLiteral("曲を追加しています…")));
        QCOMPARE(dialog->maximum(), files.size());
        auto *cancelButton = dialog->findChild<QPushButton *>();
        QVERIFY(cancelButton);
        buttonText = cancelButton->text();
        cancelButton->click();
    });
    loader->addFiles(files);
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 60000);
    QCOMPARE(batches, 3);
    QCOMPARE(buttonText, QStringLiteral("キャンセル"));
    QVERIFY(!loader->isBusy());
    const int kept = PlaylistTable::rows(&rig->table);
    QVERIFY(kept > 0 && kept < files.size());
    QTest::qWait(50);
    QCOMPARE(PlaylistTable::rows(&rig->table), kept); // nothing arrives after the cancel
    QCOMPARE(tableTitles(), expectedTitles(kept));
    QCOMPARE(rig->core->playlist->size(), kept);
}

void tst_TrackLoader::queuedAddsKeepTheirOrder()
{
    QSignalSpy finished(loader.get(), &trackLoader::finished);
    loader->addFiles(files.mid(0, 700));
    QVERIFY(loader->isBusy());
    loader->addFiles(files.mid(700));
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.count(), 1);
    QCOMPARE(tableTitles(), expectedTitles(files.size()));
}

void tst_TrackLoader::finishNowAddsEverything()
{
    loader->addFiles(files);
    QVERIFY(loader->isBusy());
    loader->finishNow();
    QVERIFY(!loader->isBusy());
    QCOMPARE(rig->core->playlist->size(), files.size());
    QCOMPARE(tableTitles(), expectedTitles(files.size()));
}

void tst_TrackLoader::oneReportForAllSlices()
{
    QStringList mixed = files.mid(0, 800);
    for (int i = 0; i < 5; ++i)
        mixed.insert(i * 150, fixtures->makeBroken(QStringLiteral("bad%1.flac").arg(i)));
    // No progress dialog here, however slow the machine: the answerer would
    // take it for a box and cancel the add.
    loader->progressDelayMsec = std::numeric_limits<int>::max();
    ModalAnswerer answerer(QMessageBox::Ok, 20000);
    answerer.keepAnswering = true;
    answerer.arm();
    QSignalSpy finished(loader.get(), &trackLoader::finished);
    loader->addFiles(mixed);
    QVERIFY(finished.count() == 1 || finished.wait(60000));
    QVERIFY(answerer.waitAnswered(5000));
    QTest::qWait(200);
    QCOMPARE(answerer.count, 1);
    QVERIFY2(answerer.text.contains(QStringLiteral("5 個")), qPrintable(answerer.text));
    QCOMPARE(tableTitles(), expectedTitles(800));
}

// A list parsed on a worker thread (the saved state of a large library):
// its rows come before anything added while it was being parsed, whether the
// read finishes by itself, is finished at once or is cancelled.
void tst_TrackLoader::readEntriesComeFirst_data()
{
    QTest::addColumn<QString>("end");
    QTest::newRow("by itself") << "wait";
    QTest::newRow("finished at once") << "finish";
    QTest::newRow("cancelled") << "cancel";
}

void tst_TrackLoader::readEntriesComeFirst()
{
    QFETCH(QString, end);
    std::atomic<bool> release{false};
    const QStringList first = files.mid(0, 600);
    loader->addRead([&release, first] {
        while (!release)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return musicInfo::entriesFor(first);
    });
    QVERIFY(loader->isBusy());
    loader->addFiles(files.mid(600, 3)); // dropped while the list is parsed
    QTest::qWait(20);
    QCOMPARE(PlaylistTable::rows(&rig->table), 0);
    release = true;
    QSignalSpy finished(loader.get(), &trackLoader::finished);
    if (end == QLatin1String("finish")) {
        loader->finishNow();
        QCOMPARE(tableTitles(), expectedTitles(603));
    } else if (end == QLatin1String("cancel")) {
        loader->cancel();
        QCOMPARE(PlaylistTable::rows(&rig->table), 0);
    } else {
        QVERIFY(finished.wait(60000));
        QCOMPARE(tableTitles(), expectedTitles(603));
    }
    QVERIFY(!loader->isBusy());
    QCOMPARE(rig->core->playlist->size(), PlaylistTable::rows(&rig->table));
}

// What an alarm, MPRIS or the tray may do while rows arrive: cancel, finish
// at once, add more, or put another list in place. Called from the signal
// itself, at the next turn of the event loop (where the progress box's own
// update used to run one inside the slice), or from an event loop inside the
// signal (a box opened by whoever heard it).
void tst_TrackLoader::callsFromItsSignals_data()
{
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("when");
    for (const char *when : {"in the signal", "next turn", "loop in the signal"}) {
        for (const char *call : {"cancel", "finish", "add", "replace"})
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(call), QLatin1String(when))))
                << QString::fromLatin1(call) << QString::fromLatin1(when);
    }
}

void tst_TrackLoader::callsFromItsSignals()
{
    QFETCH(QString, call);
    QFETCH(QString, when);
    loader->progressDelayMsec = 0; // the box is up from the first slice
    QSignalSpy finished(loader.get(), &trackLoader::finished);
    const QStringList first = files.mid(0, 1000);
    const QStringList other = files.mid(1000, 300);
    int batches = 0;
    bool called = false;
    const auto act = [&] {
        called = true;
        if (call == QLatin1String("cancel")) {
            loader->cancel();
        } else if (call == QLatin1String("finish")) {
            loader->finishNow();
        } else if (call == QLatin1String("add")) {
            loader->addFiles(other);
        } else {
            loader->cancel();
            rig->core->clearTracks();
            loader->addFiles(other);
        }
    };
    connect(loader.get(), &trackLoader::tracksAdded, this, [&] {
        if (++batches != 3)
            return;
        QVERIFY(loader->progressDialog());
        if (when == QLatin1String("in the signal")) {
            act();
        } else if (when == QLatin1String("next turn")) {
            QTimer::singleShot(0, this, act);
        } else {
            QEventLoop loop;
            QTimer::singleShot(0, &loop, [&] {
                act();
                loop.quit();
            });
            loop.exec();
        }
    });
    loader->addFiles(first);
    const int runs = call == QLatin1String("replace") ? 2 : 1;
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), runs, 60000);
    QVERIFY(called);
    QVERIFY(!loader->isBusy());
    QTest::qWait(50);
    QVERIFY(!loader->progressDialog());
    QCOMPARE(finished.count(), runs);
    const QStringList titles = tableTitles();
    QCOMPARE(rig->core->playlist->size(), titles.size());
    QStringList expected = expectedTitles(1300);
    if (call == QLatin1String("cancel")) {
        QVERIFY(titles.size() > 0 && titles.size() < first.size());
        expected = expectedTitles(titles.size());
    } else if (call == QLatin1String("finish")) {
        expected = expectedTitles(first.size());
    } else if (call == QLatin1String("replace")) {
        expected = expected.mid(1000);
    }
    QCOMPARE(titles, expected);
}

// An alarm that fires mid-way through an add waits for the one row it plays,
// not for the rest; held, the add goes no further on its own.
void tst_TrackLoader::waitsForOneRow_data()
{
    QTest::addColumn<int>("ahead"); // the row waited for, counted from the rows in; -1: one already in
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("runs");
    QTest::addColumn<bool>("busyWhenRun");
    QTest::newRow("a row that is in: at once") << -1 << "" << true << true;
    QTest::newRow("a row of a later slice") << 40 << "release" << true << true;
    QTest::newRow("a row past the end: when the add ends") << 5000 << "release" << true << false;
    QTest::newRow("cancelled meanwhile: with the rows there are") << 40 << "cancel" << true << false;
    QTest::newRow("dropped: never") << 40 << "drop" << false << false;
}

void tst_TrackLoader::waitsForOneRow()
{
    QFETCH(int, ahead);
    QFETCH(QString, then);
    QFETCH(bool, runs);
    QFETCH(bool, busyWhenRun);
    loader->progressDelayMsec = std::numeric_limits<int>::max();
    loader->sliceRows = 10; // however quickly the files were read ahead
    loader->addFiles(files);
    QTRY_VERIFY_WITH_TIMEOUT(rig->core->playlist->size() > 0, 20000);
    loader->setHeld(true);
    QTest::qWait(50); // a slice already under way ends
    const int in = rig->core->playlist->size();
    QVERIFY(loader->isBusy());
    const int row = ahead < 0 ? in - 1 : in + ahead;
    int ran = 0;
    int rowsWhenRun = -1;
    bool busyAtRun = false;
    // Once the row is in, the add stops again: what runs cannot have waited for more.
    connect(loader.get(), &trackLoader::tracksAdded, this, [&] {
        if (rig->core->playlist->size() > row)
            loader->setHeld(true);
    });
    loader->whenRowIn(row, this, [&] {
        ++ran;
        rowsWhenRun = rig->core->playlist->size();
        busyAtRun = loader->isBusy();
    });
    if (ahead < 0) {
        QCOMPARE(ran, 1);
    } else {
        QTest::qWait(100);
        QCOMPARE(ran, 0);
        QVERIFY(loader->isWaiting());
        if (then == QLatin1String("cancel"))
            loader->cancel();
        else if (then == QLatin1String("drop"))
            loader->dropWaiting();
        loader->setHeld(false);
        if (runs)
            QTRY_COMPARE_WITH_TIMEOUT(ran, 1, 60000);
        else
            QTest::qWait(300);
    }
    QCOMPARE(ran, runs ? 1 : 0);
    if (runs) {
        QCOMPARE(busyAtRun, busyWhenRun);
        if (then == QLatin1String("cancel"))
            QCOMPARE(rowsWhenRun, in);
        else if (row < files.size())
            QVERIFY(rowsWhenRun > row);
    }
    QVERIFY(!loader->isWaiting());
    loader->cancel();
}

QTEST_MAIN(tst_TrackLoader)
#include "tst_trackloader.moc"
