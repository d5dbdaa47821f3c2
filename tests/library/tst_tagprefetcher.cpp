// Reading ahead on worker threads: every ticket gets its own file's reading,
// also after clearing in the middle of a run.
#include "library/tagprefetcher.h"
#include "support/audiofixtures.h"

#include <QTest>

class tst_TagPrefetcher : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void readingsMatchTheirTickets_data();
    void readingsMatchTheirTickets();
    void clearDropsLateReadings();

private:
    AudioFixtures fixtures;
    QStringList files;
};

void tst_TagPrefetcher::initTestCase()
{
    for (int i = 0; i < 120; ++i) {
        const QString name = QStringLiteral("p%1").arg(i, 3, 10, QLatin1Char('0'));
        files << fixtures.makeTinyWav(name + QStringLiteral(".wav"), 1000 + 1000 * (i % 3),
                                      TrackTags{name, {}, {}, 0});
    }
    files.insert(7, fixtures.makeBroken(QStringLiteral("broken.mp3")));
    files.insert(50, fixtures.path(QStringLiteral("gone.wav")));
}

void tst_TagPrefetcher::readingsMatchTheirTickets_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("one worker") << 1;
    QTest::newRow("four workers") << 4;
}

void tst_TagPrefetcher::readingsMatchTheirTickets()
{
    QFETCH(int, threads);
    tagPrefetcher prefetcher(threads);
    QList<int> tickets;
    for (const QString &file : files)
        tickets << prefetcher.enqueue(file);
    for (int i = 0; i < files.size(); ++i) {
        tagReading reading;
        QVERIFY(prefetcher.take(tickets.at(i), reading, -1));
        const tagReading direct = tagReader::read(files.at(i));
        QCOMPARE(reading.exists, direct.exists);
        QCOMPARE(reading.failure == nullptr, direct.failure == nullptr);
        QCOMPARE(reading.title, direct.title);
        QCOMPARE(reading.lengthMsec, direct.lengthMsec);
        QCOMPARE(reading.size, direct.size);
    }
    tagReading none;
    QVERIFY(!prefetcher.take(int(files.size()), none, 0)); // no such ticket
}

void tst_TagPrefetcher::clearDropsLateReadings()
{
    tagPrefetcher prefetcher(2);
    for (const QString &file : files)
        prefetcher.enqueue(file);
    prefetcher.clear();
    // Tickets start over; readings of the first run still in flight must not
    // land on the second run's tickets.
    const QStringList second = files.mid(100);
    for (int i = 0; i < second.size(); ++i)
        QCOMPARE(prefetcher.enqueue(second.at(i)), i);
    for (int i = 0; i < second.size(); ++i) {
        tagReading reading;
        QVERIFY(prefetcher.take(i, reading, -1));
        QCOMPARE(reading.title, tagReader::read(second.at(i)).title);
    }
}

QTEST_GUILESS_MAIN(tst_TagPrefetcher)
#include "tst_tagprefetcher.moc"
