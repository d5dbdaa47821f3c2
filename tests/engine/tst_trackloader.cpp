// Adding many tracks in slices: the event loop keeps running, rows arrive in
// order, cancelling keeps what was added, one report at the end.
#include "engine/musicinfo.h"
#include "engine/playlist.h"
#include "engine/trackloader.h"
#include "engine/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"
#include "support/modalanswerer.h"
#include "support/playlisttable.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QSignalSpy>
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

QTEST_MAIN(tst_TrackLoader)
#include "tst_trackloader.moc"
