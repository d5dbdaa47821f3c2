// The main window's commands that edit the list, driven through its actions
// and widgets: deleting, clearing and moving rows, and adding by a drop or the
// command line.
#include "app/mainwindow.h"
#include "library/musicinfo.h"
#include "player/musicplay.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"
#include "support/playlisttable.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QUrl>


#include <QElapsedTimer>

#include <algorithm>
#include <limits>
#include <memory>

class tst_MainWindowListEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void deleteTwoBlocks();
    void clearAsksFirst();
    void clearDropsRowsStillComing();
    void cancelledAddStillRefreshes();
    void moveCommands();
    void dropIgnoresTextAndExpandsFolders();
    void commandLinePathsAreDropped();

private:
    template <typename T> T *child(const char *name)
    {
        T *found = window->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child named %s", name);
        return found;
    }
    QStringList titles();
    void addTracks(int count);
    void selectRows(const QList<QPair<int, int>> &blocks);
    bool waitPlaying(int timeout = 8000);

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    std::unique_ptr<MainWindow> window;
    QStringList files; // two seconds each (room for a loaded machine), titled T0, T1, ...
};

void tst_MainWindowListEdit::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 8; ++i) {
        const QString path = fixtures->make(QStringLiteral("t%1.wav").arg(i), 2000,
                                            TrackTags{QStringLiteral("T%1").arg(i), {}, {}, 0});
        QVERIFY(!path.isEmpty());
        files << path;
    }
}

void tst_MainWindowListEdit::init()
{
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
}

void tst_MainWindowListEdit::cleanup()
{
    window.reset();
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

QStringList tst_MainWindowListEdit::titles()
{
    QStringList result;
    auto *table = child<QTableView>("playListTable");
    result = PlaylistTable::titles(table);
    return result;
}

void tst_MainWindowListEdit::addTracks(int count)
{
    window->core->addFiles(files.mid(0, count));
    window->refreshTotals();
}

void tst_MainWindowListEdit::selectRows(const QList<QPair<int, int>> &blocks)
{
    auto *table = child<QTableView>("playListTable");
    table->clearSelection();
    for (const auto &block : blocks)
        PlaylistTable::select(table, block.first, block.second);
}

bool tst_MainWindowListEdit::waitPlaying(int timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!window->core->isPlaying() && clock.elapsed() < timeout)
        QTest::qWait(20);
    if (!window->core->isPlaying())
        qWarning("not playing: state %d, play text %s", int(window->core->player->state()),
                 qPrintable(child<QAction>("actionPlay")->text()));
    return window->core->isPlaying();
}

void tst_MainWindowListEdit::deleteTwoBlocks()
{
    addTracks(8);
    selectRows({{5, 6}, {1, 2}});
    child<QAction>("actionDel")->trigger();
    QCOMPARE(titles(), QStringList({"T0", "T3", "T4", "T7"}));
    QCOMPARE(child<QLabel>("totalNum")->text(), QStringLiteral("4 曲"));
    QCOMPARE(child<QLabel>("totalTime")->text(), QStringLiteral("00:08"));
}

void tst_MainWindowListEdit::clearAsksFirst()
{
    addTracks(3);
    ModalAnswerer cancel(QMessageBox::Cancel);
    cancel.arm();
    child<QAction>("actionClear")->trigger();
    QVERIFY(cancel.waitAnswered());
    QCOMPARE(cancel.title, QStringLiteral("プレイリストクリア"));
    QCOMPARE(cancel.text, QStringLiteral("プレイリストをクリアします。よろしいですか？"));
    QCOMPARE(titles().size(), 3);

    ModalAnswerer ok(QMessageBox::Ok);
    ok.arm();
    child<QAction>("actionClear")->trigger();
    QVERIFY(ok.waitAnswered());
    QCOMPARE(titles().size(), 0);
    QCOMPARE(child<QLabel>("totalNum")->text(), QStringLiteral("0 曲"));
    QCOMPARE(child<QLabel>("totalTime")->text(), QStringLiteral("00:00"));
}

void tst_MainWindowListEdit::clearDropsRowsStillComing()
{
    // An alarm's own playlist or a large add, still coming in when cleared.
    AudioFixtures own;
    QStringList many;
    for (int i = 0; i < 300; ++i)
        many << own.makeTinyWav(QStringLiteral("m%1.wav").arg(i), 1000);
    window->loader->sliceRows = 10;
    window->loader->progressDelayMsec = std::numeric_limits<int>::max();
    window->loader->addFiles(many);
    QVERIFY(window->loader->isBusy());
    ModalAnswerer ok(QMessageBox::Ok);
    ok.arm();
    child<QAction>("actionClear")->trigger();
    QVERIFY(ok.waitAnswered());
    QVERIFY(!window->loader->isBusy());
    QTest::qWait(200);
    QCOMPARE(titles().size(), 0);
    QCOMPARE(child<QLabel>("totalNum")->text(), QStringLiteral("0 曲"));
}

void tst_MainWindowListEdit::cancelledAddStillRefreshes()
{
    addTracks(2); // the table changed but the labels were not told
    child<QLabel>("totalNum")->setText(QStringLiteral("stale"));
    child<QTableView>("playListTable")->setColumnWidth(0, 17);
    ModalAnswerer answerer;
    answerer.arm();
    child<QAction>("actionAdd")->trigger();
    QVERIFY(answerer.waitAnswered());
    QCOMPARE(answerer.title, QStringLiteral("ファイルを選択して下さい。"));
    QCOMPARE(child<QLabel>("totalNum")->text(), QStringLiteral("2 曲"));
    auto *table = child<QTableView>("playListTable");
    QTRY_COMPARE(table->columnWidth(0) + table->columnWidth(1), table->viewport()->width());
    QCOMPARE(titles().size(), 2);
}

void tst_MainWindowListEdit::moveCommands()
{
    addTracks(5); // T0..T4 stand for A..E
    auto *table = child<QTableView>("playListTable");
    auto selectedRows = [table] {
        QList<int> rows;
        for (const auto &range : PlaylistTable::selectedBlocks(table))
            for (int r = range.first; r <= range.second; ++r)
                rows << r;
        std::sort(rows.begin(), rows.end());
        return rows;
    };
    selectRows({{1, 2}});
    child<QAction>("actionUp")->trigger();
    QCOMPARE(titles(), QStringList({"T1", "T2", "T0", "T3", "T4"}));
    QCOMPARE(selectedRows(), QList<int>({0, 1}));
    // Up from row 0 is refused and changes nothing.
    child<QAction>("actionUp")->trigger();
    QCOMPARE(titles(), QStringList({"T1", "T2", "T0", "T3", "T4"}));
    child<QAction>("actionBottom")->trigger();
    QCOMPARE(titles(), QStringList({"T0", "T3", "T4", "T1", "T2"}));
    QCOMPARE(selectedRows(), QList<int>({3, 4}));
    child<QAction>("actionTop")->trigger();
    QCOMPARE(titles(), QStringList({"T1", "T2", "T0", "T3", "T4"}));
    child<QAction>("actionDown")->trigger();
    QCOMPARE(titles(), QStringList({"T0", "T1", "T2", "T3", "T4"}));
    QCOMPARE(selectedRows(), QList<int>({1, 2}));
}

static void dropOn(QWidget *target, QMimeData *data)
{
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

void tst_MainWindowListEdit::dropIgnoresTextAndExpandsFolders()
{
    QMimeData text;
    text.setText(files.first());
    dropOn(window.get(), &text);
    QCOMPARE(titles().size(), 0);

    AudioFixtures tree;
    tree.make(QStringLiteral("music/b.wav"), 1000, TrackTags{QStringLiteral("B"), {}, {}, 0});
    tree.make(QStringLiteral("music/A/x.flac"), 1000, TrackTags{QStringLiteral("X"), {}, {}, 0});
    tree.make(QStringLiteral("music/.hidden/h.wav"), 1000, TrackTags{QStringLiteral("H"), {}, {}, 0});
    tree.make(QStringLiteral("music/C/.h.wav"), 1000, TrackTags{QStringLiteral("H2"), {}, {}, 0});
    tree.makeBroken(QStringLiteral("music/d.mp3"));

    QMimeData urls;
    urls.setUrls({QUrl::fromLocalFile(tree.path(QStringLiteral("music"))),
                  QUrl::fromLocalFile(files.at(3))});
    // Beside them, what an album folder holds that is not audio: passed over.
    for (const char *name : {"music/cover.jpg", "music/A/rip.log", "music/A/album.cue", "music/list.m3u"})
        tree.makeBroken(QString::fromLatin1(name));
    // d.mp3 cannot be read: one box says so, after the rest has arrived.
    ModalAnswerer answerer(QMessageBox::Ok, 3000);
    answerer.keepAnswering = true;
    answerer.arm();
    dropOn(window.get(), &urls);
    QTRY_COMPARE_WITH_TIMEOUT(titles(), QStringList({"X", "B", "T3"}), 10000);
    QCOMPARE(child<QLabel>("totalNum")->text(), QStringLiteral("3 曲"));
    QVERIFY(answerer.waitAnswered(3000));
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("ファイル読み込みエラー"));
    QVERIFY2(answerer.text.contains(tree.path(QStringLiteral("music/d.mp3"))), qPrintable(answerer.text));

    // Many unreadable files named one by one: still one box.
    QStringList bad;
    for (int i = 0; i < 12; ++i)
        bad << tree.makeBroken(QStringLiteral("bad%1.mp3").arg(i));
    QMimeData many;
    QList<QUrl> manyUrls;
    for (const QString &path : bad)
        manyUrls << QUrl::fromLocalFile(path);
    many.setUrls(manyUrls);
    answerer.arm();
    dropOn(window.get(), &many);
    QVERIFY(answerer.waitAnswered(3000));
    QTest::qWait(300);
    QCOMPARE(answerer.count, 1);
    QVERIFY2(answerer.text.contains(QStringLiteral("12 個")), qPrintable(answerer.text));
    QCOMPARE(titles(), QStringList({"X", "B", "T3"}));
}

void tst_MainWindowListEdit::commandLinePathsAreDropped()
{
    // Given before the first show, they follow the restored playlist.
    window.reset();
    {
        vurnSettings saved;
        QString name;
        saved.openFile(name);
        musicInfo restored;
        QVERIFY(restored.readTags(files.at(0)));
        saved.savePlayList({&restored});
    }
    window = std::make_unique<MainWindow>();
    window->addPaths({files.at(1)});
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_COMPARE(titles(), QStringList({"T0", "T1"}));

    // A missing path and a file that is not audio, named on the command
    // line, are reported in the one box of a drop; the rest is added.
    AudioFixtures tree;
    const QString notes = tree.makeBroken(QStringLiteral("notes.txt"));
    const QString missing = tree.path(QStringLiteral("gone.mp3"));
    ModalAnswerer answerer(QMessageBox::Ok, 3000);
    answerer.keepAnswering = true;
    answerer.arm();
    window->addPaths({missing, files.at(2), notes});
    QVERIFY(answerer.waitAnswered(3000));
    QTest::qWait(300);
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.title, QStringLiteral("ファイル読み込みエラー"));
    QVERIFY2(answerer.text.contains(missing) && answerer.text.contains(notes), qPrintable(answerer.text));
    QCOMPARE(titles(), QStringList({"T0", "T1", "T2"}));

    // Nothing but a missing path: still told.
    answerer.arm();
    window->addPaths({missing});
    QVERIFY(answerer.waitAnswered(3000));
    QVERIFY2(answerer.text.contains(missing), qPrintable(answerer.text));
    QCOMPARE(titles().size(), 3);
}

QTEST_MAIN(tst_MainWindowListEdit)
#include "tst_mainwindowlistedit.moc"
