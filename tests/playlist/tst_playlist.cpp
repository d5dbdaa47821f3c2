#include "library/musicinfo.h"
#include "playlist/playlist.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"

#include <QPointer>
#include <QtTest>

#include <memory>

class tst_PlayList : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void addKeepsCountAndTotal();
    void addRefusesUnreadable_data();
    void addRefusesUnreadable();
    void removeAt_data();
    void removeAt();
    void removeRange_data();
    void removeRange();
    void moveTrack_data();
    void moveTrack();
    void clearAndReuse();
    void accessOutsideTheList();
    void entriesDeletedWithList();
    void totalPastThirtyTwoBits();

private:
    void fill();
    QString titles() const;
    void checkTotals() const;

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<playList> list;
    QStringList files; // A B C D E of 1 to 5 seconds
};

void tst_PlayList::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    const QStringList names{"A", "B", "C", "D", "E"};
    for (int i = 0; i < names.size(); ++i)
        files << fixtures->makeTinyWav(names.at(i) + QLatin1String(".wav"), (i + 1) * 1000,
                                       TrackTags{names.at(i), {}, {}, 0});
    QVERIFY(!files.contains(QString()));
}

void tst_PlayList::init()
{
    list = std::make_unique<playList>();
}

void tst_PlayList::cleanup()
{
    list.reset();
}

void tst_PlayList::fill()
{
    for (int i = 0; i < 4; ++i)
        QVERIFY(list->addFile(files.at(i)));
}

QString tst_PlayList::titles() const
{
    QString text;
    for (const musicInfo *info : list->tracks())
        text += info->title;
    return text;
}

// The running count and total must always agree with the entries themselves.
void tst_PlayList::checkTotals() const
{
    qint64 sum = 0;
    for (const musicInfo *info : list->tracks())
        sum += info->lengthMsec;
    QCOMPARE(list->trackCount, list->size());
    QCOMPARE(list->totalMsec, sum);
}

void tst_PlayList::addKeepsCountAndTotal()
{
    QCOMPARE(list->size(), 0);
    QCOMPARE(list->trackCount, 0);
    QCOMPARE(list->totalMsec, qint64(0));

    fill();
    QCOMPARE(titles(), QStringLiteral("ABCD"));
    QCOMPARE(list->trackCount, 4);
    QCOMPARE(list->totalMsec, qint64(10000));
    QCOMPARE(list->last()->title, QStringLiteral("D"));
    QCOMPARE(list->at(2)->filePath, files.at(2));
    QCOMPARE(list->at(2)->lengthMsec, 3000);

    // The same file again is a new, separately read entry.
    QVERIFY(list->addFile(files.at(0)));
    QCOMPARE(titles(), QStringLiteral("ABCDA"));
    QVERIFY(list->at(0) != list->at(4));
    QCOMPARE(list->totalMsec, qint64(11000));
    checkTotals();
    QVERIFY(!list->at(0)->parent());
}

void tst_PlayList::addRefusesUnreadable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("empty path") << QStringLiteral("empty path");
    QTest::newRow("shorter than a second") << QStringLiteral("short");
    QTest::newRow("undecodable") << QStringLiteral("broken");
}

void tst_PlayList::addRefusesUnreadable()
{
    QFETCH(QString, kind);
    QString path;
    if (kind == QLatin1String("missing"))
        path = fixtures->path(QStringLiteral("none.wav"));
    else if (kind == QLatin1String("short"))
        path = fixtures->makeTinyWav(QStringLiteral("short.wav"), 600);
    else if (kind == QLatin1String("broken"))
        path = fixtures->makeBroken(QStringLiteral("broken.flac"));
    fill();

    ModalAnswerer answerer; // the reader may warn about the file
    answerer.arm();
    QVERIFY(!list->addFile(path));
    QCOMPARE(titles(), QStringLiteral("ABCD"));
    QCOMPARE(list->trackCount, 4);
    QCOMPARE(list->totalMsec, qint64(10000));
}

void tst_PlayList::removeAt_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QString>("after");
    QTest::newRow("first") << 0 << true << "BCD";
    QTest::newRow("middle") << 2 << true << "ABD";
    QTest::newRow("last") << 3 << true << "ABC";
    QTest::newRow("-1") << -1 << false << "ABCD";
    QTest::newRow("size") << 4 << false << "ABCD";
    QTest::newRow("far below") << INT_MIN << false << "ABCD";
    QTest::newRow("far above") << INT_MAX << false << "ABCD";
}

void tst_PlayList::removeAt()
{
    QFETCH(int, index);
    QFETCH(bool, removed);
    QFETCH(QString, after);
    QVERIFY(!list->removeAt(0));
    fill();
    QCOMPARE(list->removeAt(index), removed);
    QCOMPARE(titles(), after);
    checkTotals();
}

void tst_PlayList::removeRange_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("removed");
    QTest::addColumn<QString>("after");
    QTest::newRow("middle block") << 1 << 2 << true << "AD";
    QTest::newRow("one entry") << 3 << 3 << true << "ABC";
    QTest::newRow("from the start") << 0 << 1 << true << "CD";
    QTest::newRow("everything") << 0 << 3 << true << "";
    QTest::newRow("reversed") << 2 << 1 << false << "ABCD";
    QTest::newRow("starts below") << -1 << 1 << false << "ABCD";
    QTest::newRow("ends past the end") << 2 << 4 << false << "ABCD";
    QTest::newRow("wholly past the end") << 4 << 6 << false << "ABCD";
}

void tst_PlayList::removeRange()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, removed);
    QFETCH(QString, after);
    QVERIFY(!list->removeRange(0, 0));
    fill();
    QPointer<musicInfo> gone = list->at(qBound(0, first, 3));
    QCOMPARE(list->removeRange(first, last), removed);
    QCOMPARE(titles(), after);
    checkTotals();
    // Removed entries are deleted, refused ones kept.
    QCOMPARE(gone.isNull(), removed);
}

void tst_PlayList::moveTrack_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("moved");
    QTest::addColumn<QString>("after");
    QTest::newRow("0 to 2") << 0 << 2 << true << "BACD";
    QTest::newRow("0 to the end") << 0 << 4 << true << "BCDA";
    QTest::newRow("3 to the start") << 3 << 0 << true << "DABC";
    QTest::newRow("onto itself") << 1 << 1 << true << "ABCD";
    QTest::newRow("just after itself") << 1 << 2 << true << "ABCD";
    QTest::newRow("past the end is the end") << 3 << 99 << true << "ABCD";
    QTest::newRow("1 past the end") << 1 << 99 << true << "ACDB";
    QTest::newRow("below 0 is the start") << 2 << -5 << true << "CABD";
    QTest::newRow("from -1") << -1 << 0 << false << "ABCD";
    QTest::newRow("from size") << 4 << 0 << false << "ABCD";
}

void tst_PlayList::moveTrack()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, moved);
    QFETCH(QString, after);
    QVERIFY(!list->moveTrack(0, 0));
    fill();
    QCOMPARE(list->moveTrack(from, to), moved);
    QCOMPARE(titles(), after);
    checkTotals();
}

void tst_PlayList::clearAndReuse()
{
    fill();
    QPointer<musicInfo> entry = list->at(1);
    list->clear();
    QVERIFY(entry.isNull());
    QCOMPARE(list->size(), 0);
    QCOMPARE(list->trackCount, 0);
    QCOMPARE(list->totalMsec, qint64(0));
    QVERIFY(!list->isValidIndex(0));
    QVERIFY(list->tracks().isEmpty());

    QVERIFY(list->addFile(files.at(4)));
    QCOMPARE(titles(), QStringLiteral("E"));
    QCOMPARE(list->totalMsec, qint64(5000));
    checkTotals();
}

void tst_PlayList::accessOutsideTheList()
{
    QVERIFY(!list->isValidIndex(0));
    QVERIFY(!list->at(0));
    QVERIFY(!list->last());
    fill();
    QVERIFY(list->isValidIndex(0));
    QVERIFY(list->isValidIndex(3));
    QVERIFY(!list->isValidIndex(4));
    QVERIFY(!list->isValidIndex(-1));
    QVERIFY(!list->at(-1));
    QVERIFY(!list->at(4));

    // The copy handed out does not change the list.
    QList<musicInfo *> copy = list->tracks();
    copy.removeFirst();
    QCOMPARE(titles(), QStringLiteral("ABCD"));
}

void tst_PlayList::entriesDeletedWithList()
{
    fill();
    QList<QPointer<musicInfo>> entries;
    for (musicInfo *info : list->tracks())
        entries << info;
    list.reset();
    for (const QPointer<musicInfo> &entry : qAsConst(entries))
        QVERIFY(entry.isNull());
}

void tst_PlayList::totalPastThirtyTwoBits()
{
    // Files whose headers claim 150 hours each: a few pass the 596 hours a
    // signed 32-bit millisecond total holds, and then the 1,193 of an unsigned one.
    const QString path = fixtures->makeMp3ClaimingFrames(QStringLiteral("long-claim.mp3"), 20671875);
    QVERIFY(!path.isEmpty());
    musicInfo probe;
    QVERIFY(probe.readTags(path));
    const qint64 each = probe.lengthMsec;
    QCOMPARE(each, qint64(150) * 3600 * 1000);
    const int count = int(std::numeric_limits<quint32>::max() / each) + 2;
    for (int i = 0; i < count; ++i)
        QVERIFY(list->addFile(path));
    checkTotals();
    QCOMPARE(list->totalMsec, each * count);
    QVERIFY(list->totalMsec > std::numeric_limits<quint32>::max());
    const qint64 hours = list->totalMsec / 3600000;
    QVERIFY2(musicInfo::msecToString(list->totalMsec).startsWith(QString::number(hours) + QLatin1Char(':')),
             qPrintable(musicInfo::msecToString(list->totalMsec)));
    QVERIFY(list->removeRange(0, count - 2));
    QCOMPARE(list->totalMsec, each);
}

QTEST_MAIN(tst_PlayList)
#include "tst_playlist.moc"
