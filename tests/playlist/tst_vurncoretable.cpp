// Editing the playlist through the controller: the playlist and a real table
// change together, and block moves leave exactly the moved rows selected.
#include "library/musicinfo.h"
#include "playlist/playlist.h"
#include "playlist/vurncore.h"
#include "support/audiofixtures.h"
#include "support/controllerrig.h"
#include "support/modalanswerer.h"
#include "support/playlisttable.h"

#include <QAction>
#include <QLabel>
#include <QRandomGenerator>
#include <QSlider>
#include <QTableView>
#include <QTest>

#include <algorithm>
#include <memory>

class tst_VurnCoreTable : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void addFilesSkipsUnreadable();
    void removeTracks_data();
    void removeTracks();
    void clearKeepsPlaying();
    void moveTrack_data();
    void moveTrack();
    void moveSelection_data();
    void moveSelection();
    void singleBlockMovesLikeRowByRow();
    void editsFreeTheirTracks();
    void titleFollowsThePlayingTrack_data();
    void titleFollowsThePlayingTrack();

private:
    QStringList titles() const;
    QStringList playlistTitles() const;
    QList<int> selectedRows() const;
    void addLetters(int count);

    std::unique_ptr<AudioFixtures> fixtures;
    QStringList letters; // tracks titled A, B, C, ...
    std::unique_ptr<ControllerRig> rig;
    QLabel *title = nullptr;
    QAction *play = nullptr;
    QLabel *time = nullptr;
    QSlider *seek = nullptr;
    QTableView *table = nullptr;
    vurnCore *core = nullptr;
};

void tst_VurnCoreTable::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 26; ++i) {
        const QString name(QChar('A' + i));
        const QString file = fixtures->makeTinyWav(name + QStringLiteral(".wav"), 1000 + 1000 * (i % 3),
                                                   TrackTags{name, {}, {}, 0});
        QVERIFY(!file.isEmpty());
        letters << file;
    }
}

void tst_VurnCoreTable::init()
{
    rig = std::make_unique<ControllerRig>();
    title = &rig->title;
    play = &rig->play;
    time = &rig->time;
    seek = &rig->seek;
    table = &rig->table;
    core = rig->core.get();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void tst_VurnCoreTable::cleanup()
{
    rig.reset();
    title = nullptr;
    play = nullptr;
    time = nullptr;
    seek = nullptr;
    table = nullptr;
    core = nullptr;
}

QStringList tst_VurnCoreTable::titles() const
{
    QStringList result;
    result = PlaylistTable::titles(table);
    return result;
}

QStringList tst_VurnCoreTable::playlistTitles() const
{
    QStringList result;
    for (const musicInfo *track : core->tracks())
        result << track->title;
    return result;
}

QList<int> tst_VurnCoreTable::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : table->selectionModel()->selectedIndexes())
        if (index.column() == 0)
            rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void tst_VurnCoreTable::addLetters(int count)
{
    QVERIFY(core->addFiles(letters.mid(0, count)));
    QCOMPARE(PlaylistTable::rows(table), count);
}

void tst_VurnCoreTable::addFilesSkipsUnreadable()
{
    const QString unreadable = fixtures->makeBroken(QStringLiteral("junk.mp3"));
    ModalAnswerer answerer;
    answerer.arm();
    QVERIFY(core->addFiles({letters.at(0), unreadable, letters.at(1)}));
    QCOMPARE(titles(), QStringList({"A", "B"}));
    QCOMPARE(PlaylistTable::text(table, 0, 1), QStringLiteral("00:01"));
    QCOMPARE(PlaylistTable::text(table, 1, 1), QStringLiteral("00:02"));
    QCOMPARE(playlistTitles(), titles());
    QCOMPARE(core->countText, QStringLiteral("2"));
    QCOMPARE(core->totalText, QStringLiteral("00:03"));

    // Appending keeps the rows already there; the same file may come twice.
    QVERIFY(core->addFiles({letters.at(2), letters.at(0)}));
    QCOMPARE(titles(), QStringList({"A", "B", "C", "A"}));
    QCOMPARE(core->countText, QStringLiteral("4"));
    QCOMPARE(core->totalText, QStringLiteral("00:07"));
    QVERIFY(core->addFiles({}));
    QCOMPARE(core->countText, QStringLiteral("4"));
}

void tst_VurnCoreTable::removeTracks_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("current"); // was 3: where it is now, or the row before the gap
    QTest::newRow("middle block") << 1 << 3 << true << QStringList({"A", "E"}) << 0;
    QTest::newRow("reversed: nothing") << 3 << 1 << true << QStringList({"A", "B", "C", "D", "E"}) << 3;
    QTest::newRow("one row") << 4 << 4 << true << QStringList({"A", "B", "C", "D"}) << 3;
    QTest::newRow("rows above") << 0 << 1 << true << QStringList({"C", "D", "E"}) << 1;
    QTest::newRow("all") << 0 << 4 << true << QStringList() << -1;
    QTest::newRow("before the start") << -1 << 2 << false << QStringList({"A", "B", "C", "D", "E"}) << 3;
    QTest::newRow("past the end") << 2 << 5 << false << QStringList({"A", "B", "C", "D", "E"}) << 3;
}

void tst_VurnCoreTable::removeTracks()
{
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(bool, result);
    QFETCH(QStringList, left);
    QFETCH(int, current);
    addLetters(5);
    core->currentIndex = 3;
    QCOMPARE(core->removeTracks(first, last), result);
    QCOMPARE(titles(), left);
    QCOMPARE(playlistTitles(), left);
    QCOMPARE(core->countText, QString::number(left.size()));
    QCOMPARE(core->playlist->trackCount, left.size());
    qint64 total = 0;
    for (const musicInfo *track : core->tracks())
        total += track->lengthMsec;
    QCOMPARE(core->playlist->totalMsec, total);
    QCOMPARE(core->totalText, musicInfo::msecToString(total));
    QCOMPARE(core->currentIndex, current);
}

void tst_VurnCoreTable::clearKeepsPlaying()
{
    AudioFixtures own;
    const QString longer = own.make(QStringLiteral("long.wav"), 3000, TrackTags{"L", {}, {}, 0});
    QVERIFY(core->addFiles({longer, letters.at(0)}));
    QVERIFY(core->playTrack(0, false));
    QTRY_VERIFY_WITH_TIMEOUT(core->isPlaying(), 10000);
    core->clearTracks();
    QCOMPARE(PlaylistTable::rows(table), 0);
    QVERIFY(!core->hasTracks());
    QCOMPARE(core->countText, QStringLiteral("0"));
    QCOMPARE(core->totalText, QStringLiteral("00:00"));
    QVERIFY(core->isPlaying());
    QCOMPARE(play->text(), QStringLiteral("■"));
    // Nothing to go to: the end of the track stops.
    QVERIFY(!core->playNextAfterEnd());
    QCOMPARE(play->text(), QStringLiteral("♪"));
}

void tst_VurnCoreTable::moveTrack_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("order");
    QTest::newRow("down to 2") << 0 << 2 << "BCADE";
    QTest::newRow("down to the last") << 0 << 4 << "BCDEA";
    QTest::newRow("up to 0") << 3 << 0 << "DABCE";
    QTest::newRow("same place") << 1 << 1 << "ABCDE";
    QTest::newRow("beyond the end") << 1 << 99 << "ACDEB";
    QTest::newRow("below 0") << 2 << -5 << "CABDE";
}

void tst_VurnCoreTable::moveTrack()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, order);
    addLetters(5);
    QVERIFY(core->moveTrack(from, to));
    const QStringList expected = order.split(QString(), Qt::SkipEmptyParts);
    QCOMPARE(titles(), expected);
    QCOMPARE(playlistTitles(), expected);
    QCOMPARE(PlaylistTable::text(table, 0, 1), core->tracks().at(0)->lengthText);
    QVERIFY(!core->moveTrack(5, 0));
    QCOMPARE(titles(), expected);
}

using Blocks = QList<QPair<int, int>>;

void tst_VurnCoreTable::moveSelection_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<Blocks>("blocks");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("order");
    QTest::addColumn<QList<int>>("selected");

    const Blocks bc = {{1, 2}};
    QTest::newRow("one up") << 5 << bc << 0 << true << "BCADE" << QList<int>({0, 1});
    QTest::newRow("one down") << 5 << bc << 3 << true << "ADBCE" << QList<int>({2, 3});
    QTest::newRow("to the bottom") << 5 << bc << 5 << true << "ADEBC" << QList<int>({3, 4});
    QTest::newRow("single row down") << 5 << Blocks{{1, 1}} << 2 << true << "ACBDE" << QList<int>({2});
    QTest::newRow("single row to the bottom") << 5 << Blocks{{0, 0}} << 5 << true << "BCDEA"
                                              << QList<int>({4});
    QTest::newRow("last row down is refused") << 5 << Blocks{{4, 4}} << 6 << false << "ABCDE"
                                              << QList<int>({4});
    QTest::newRow("up from row 0 is refused") << 5 << Blocks{{0, 1}} << -1 << false << "ABCDE"
                                              << QList<int>({0, 1});
    QTest::newRow("bad range is refused") << 5 << Blocks{{1, 2}, {3, 7}} << 0 << false << "ABCDE"
                                          << QList<int>({1, 2, 3, 4});
    // Several blocks end as one, in their earlier order, next to the target.
    const Blocks two = {{1, 2}, {5, 6}};
    QTest::newRow("two to the top") << 8 << two << 0 << true << "BCFGADEH"
                                    << QList<int>({0, 1, 2, 3});
    QTest::newRow("two to the bottom") << 8 << two << 8 << true << "ADEHBCFG"
                                       << QList<int>({4, 5, 6, 7});
    QTest::newRow("two one up") << 8 << two << 0 << true << "BCFGADEH"
                                << QList<int>({0, 1, 2, 3});
    QTest::newRow("two one down") << 8 << two << 3 << true << "ABCFGDEH"
                                  << QList<int>({1, 2, 3, 4});
    QTest::newRow("two to a middle row") << 10 << Blocks{{0, 0}, {7, 8}} << 5 << true
                                         << "BCDAHIEFGJ" << QList<int>({3, 4, 5});
    QTest::newRow("three single rows up") << 8 << Blocks{{3, 3}, {5, 5}, {7, 7}} << 1 << true
                                          << "ADFHBCEG" << QList<int>({1, 2, 3});
}

void tst_VurnCoreTable::moveSelection()
{
    QFETCH(int, size);
    QFETCH(Blocks, blocks);
    QFETCH(int, target);
    QFETCH(bool, result);
    QFETCH(QString, order);
    QFETCH(QList<int>, selected);
    addLetters(size);
    QList<RowRange> ranges;
    table->clearSelection();
    for (const auto &block : blocks) {
        ranges << RowRange(block.first, 0, 1, block.second);
        PlaylistTable::select(table, block.first, qMin(block.second, size - 1));
    }
    QCOMPARE(core->moveSelection(target, ranges), result);
    const QStringList expected = order.split(QString(), Qt::SkipEmptyParts);
    QCOMPARE(titles(), expected);
    QCOMPARE(playlistTitles(), expected);
    for (int row = 0; row < size; ++row)
        QCOMPARE(PlaylistTable::text(table, row, 1), core->tracks().at(row)->lengthText);
    QCOMPARE(selectedRows(), selected);
    QCOMPARE(core->countText, QString::number(size));
}

// Moving a block one row at a time, as the commands describe it.
static void naiveMove(QStringList &list, int from, int to)
{
    if (from < to)
        ++to;
    to = qBound(0, to, list.size());
    list.insert(to, list.at(from));
    list.removeAt(to < from ? from + 1 : from);
}

void tst_VurnCoreTable::singleBlockMovesLikeRowByRow()
{
    addLetters(12);
    QRandomGenerator random(20261208);
    for (int round = 0; round < 60; ++round) {
        QStringList expected = titles();
        const int size = expected.size();
        const int top = int(random.bounded(size));
        const int bottom = top + int(random.bounded(size - top));
        const int rows = bottom - top + 1;
        // Any target outside the block: above it, or below it up to the end.
        QList<int> targets;
        for (int t = 0; t < top; ++t)
            targets << t;
        for (int t = bottom + 1; t <= size; ++t)
            targets << t;
        if (targets.isEmpty())
            continue;
        const int target = targets.at(int(random.bounded(targets.size())));
        QList<int> wanted;
        if (target < top) {
            for (int i = 0; i < rows; ++i)
                naiveMove(expected, bottom, target);
            for (int i = 0; i < rows; ++i)
                wanted << target + i;
        } else {
            for (int i = 0; i < rows; ++i)
                naiveMove(expected, top, target);
            const int first = target < size ? target - rows + 1 : size - rows;
            for (int i = 0; i < rows; ++i)
                wanted << first + i;
        }
        QVERIFY(core->moveSelection(target, {RowRange(top, 0, 1, bottom)}));
        const QString where = QStringLiteral("block %1-%2 to %3").arg(top).arg(bottom).arg(target);
        QVERIFY2(titles() == expected, qPrintable(where));
        QVERIFY2(playlistTitles() == expected, qPrintable(where));
        QVERIFY2(selectedRows() == wanted, qPrintable(where));
    }
}

// Removed and cleared tracks are freed at once, and the view's model never
// names a row the playlist no longer has.
void tst_VurnCoreTable::editsFreeTheirTracks()
{
    addLetters(12);
    int freed = 0;
    for (musicInfo *track : core->tracks())
        connect(track, &QObject::destroyed, this, [&freed] { ++freed; });
    int announced = 0;
    connect(table->model(), &QAbstractItemModel::rowsRemoved, this,
            [&announced](const QModelIndex &, int first, int last) { announced += last - first + 1; });
    QVERIFY(core->removeTracks(2, 5));
    QCOMPARE(freed, 4);
    QCOMPARE(announced, 4);
    QCOMPARE(PlaylistTable::rows(table), 8);
    QCOMPARE(titles(), playlistTitles());
    QVERIFY(core->moveTrack(0, 7));
    QCOMPARE(titles(), playlistTitles());
    core->clearTracks();
    QCOMPARE(freed, 12);
    QCOMPARE(PlaylistTable::rows(table), 0);
    QVERIFY(!table->model()->index(0, 0).isValid());
}

void tst_VurnCoreTable::titleFollowsThePlayingTrack_data()
{
    QTest::addColumn<QString>("edit"); // "remove first last", "move top bottom target", "clear"
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("next");     // what "next" starts then, forwards
    QTest::addColumn<QString>("previous"); // and "previous", from the same place
    // D (row 3 of A..G) is playing: "4 : D".
    QTest::newRow("rows above removed") << "remove 0 1" << "2 : D" << "3 : E" << "1 : C";
    QTest::newRow("rows below removed") << "remove 5 6" << "4 : D" << "5 : E" << "3 : C";
    QTest::newRow("its own row removed") << "remove 2 3" << "D" << "3 : E" << "2 : B";
    QTest::newRow("moved to the top") << "move 3 3 0" << "1 : D" << "2 : A" << "7 : G";
    QTest::newRow("rows above moved below") << "move 0 1 7" << "2 : D" << "3 : E" << "1 : C";
    QTest::newRow("moved with a block down") << "move 2 3 5" << "6 : D" << "7 : G" << "5 : C";
    QTest::newRow("others moved around it") << "move 5 5 0" << "5 : D" << "6 : E" << "4 : C";
    QTest::newRow("list cleared") << "clear" << "D" << "" << "";
}

void tst_VurnCoreTable::titleFollowsThePlayingTrack()
{
    QFETCH(QString, edit);
    QFETCH(QString, title);
    QFETCH(QString, next);
    QFETCH(QString, previous);
    const QStringList words = edit.split(QLatin1Char(' '));
    const auto playDThenEdit = [&] {
        core->clearTracks();
        addLetters(7);
        QVERIFY(core->playTrack(3, false));
        QCOMPARE(rig->title.text(), QStringLiteral("4 : D"));
        if (words.first() == QLatin1String("remove")) {
            QVERIFY(core->removeTracks(words.at(1).toInt(), words.at(2).toInt()));
        } else if (words.first() == QLatin1String("move")) {
            const RowRange block(words.at(1).toInt(), 0, 1, words.at(2).toInt());
            QVERIFY(core->moveSelection(words.at(3).toInt(), {block}));
        } else {
            core->clearTracks();
        }
    };
    playDThenEdit();
    QCOMPARE(rig->title.text(), title);
    if (next.isEmpty()) {
        QVERIFY(!core->playNext());
        return;
    }
    QVERIFY(core->playNext());
    QCOMPARE(rig->title.text(), next);
    playDThenEdit();
    QVERIFY(core->playPrevious());
    QCOMPARE(rig->title.text(), previous);
}

QTEST_MAIN(tst_VurnCoreTable)
#include "tst_vurncoretable.moc"
