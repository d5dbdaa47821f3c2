// Alarms that play their own saved playlist: the list it replaces is set
// aside and comes back with one command, also after a restart, swapping; a missing,
// empty or wholly vanished playlist rings with the main window's list and
// says so. And a playlist file named on the command line adds its tracks.
#include "alarm/alarmclock.h"
#include "alarm/alarmringer.h"
#include "alarm/alarmringwindow.h"
#include "app/mainwindow.h"
#include "library/musicinfo.h"
#include "playlist/vurncore.h"
#include "settings/playlisttab.h"
#include "settings/setwindow.h"
#include "storage/playliststore.h"
#include "storage/vurnsettings.h"
#include "support/alarmsetup.h"
#include "support/audiofixtures.h"
#include "support/modalanswerer.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_AlarmPlaylist : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void playsItsOwnPlaylist();
    void fallsBackAndSaysWhy_data();
    void fallsBackAndSaysWhy();
    void theListComesBackAfterARestart();
    void playlistFileOnTheCommandLine();
    void snoozeKeepsToItsPlaylist_data();
    void snoozeKeepsToItsPlaylist();

private:
    // "rename A B" or "delete A", through the settings window's playlist tab.
    void editPlaylists(const QStringList &steps);
    void startWindow();
    void fire(const QString &playList);
    QStringList titles() const;

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> state;
    std::unique_ptr<MainWindow> window;
    QStringList mine;   // the person's list
    QStringList morning; // the alarm's playlist
    QDateTime clock;
};

void tst_AlarmPlaylist::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    for (int i = 0; i < 2; ++i)
        mine << fixtures->make(QStringLiteral("mine%1.wav").arg(i), 4000,
                               TrackTags{QStringLiteral("Mine %1").arg(i), {}, {}, 0});
    for (int i = 0; i < 2; ++i)
        morning << fixtures->make(QStringLiteral("morning%1.wav").arg(i), 4000,
                                  TrackTags{QStringLiteral("Morning %1").arg(i), {}, {}, 0});
    QVERIFY(!mine.contains(QString()) && !morning.contains(QString()));
}

void tst_AlarmPlaylist::init()
{
    clock = QDateTime(QDate(2024, 1, 1), QTime(6, 59, 59)); // a Monday
    alarmClock::setSource([this] { return clock; });
    state = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(state->path());
    startWindow();
    window->addPaths(mine);
    QTRY_COMPARE(titles(), (QStringList{"Mine 0", "Mine 1"}));
}

void tst_AlarmPlaylist::cleanup()
{
    // Closed, not quit: quitting would end every later event loop of this
    // process, message boxes' included.
    if (window)
        window->close();
    window.reset();
    alarmClock::setSource({});
    vurnSettings::setStateDirectoryOverride(QString());
    state.reset();
}

void tst_AlarmPlaylist::startWindow()
{
    window = std::make_unique<MainWindow>();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->ringer->toneDelayMsec = 60000; // the music is what is tested here
}

QStringList tst_AlarmPlaylist::titles() const
{
    QStringList result;
    for (const musicInfo *track : window->core->tracks())
        result << track->title;
    return result;
}

void tst_AlarmPlaylist::fire(const QString &playList)
{
    AlarmSetup alarm;
    alarm.time = QStringLiteral("07:00");
    alarm.days = QStringLiteral("0");
    alarm.mode = QStringLiteral("全曲リピート(>>)");
    alarm.firstPlay = true;
    alarm.playList = playList;
    window->setWin->setAlarmList(makeAlarmList(window.get(), {alarm}));
    window->setWin->setAlarmEnabled(true);
    window->checkAlarms();
    clock = clock.addSecs(1);
    window->checkAlarms();
    QVERIFY(window->ringer->isRinging());
}

void tst_AlarmPlaylist::playsItsOwnPlaylist()
{
    QVERIFY(playlistStore::save(QStringLiteral("朝"), [this] {
        QList<storedTrack> tracks;
        for (const QString &file : morning) {
            musicInfo info;
            info.readTags(file);
            tracks << info.toStored();
        }
        return tracks;
    }()));
    QVERIFY(!window->actionRestoreList->isEnabled());
    fire(QStringLiteral("朝"));
    QCOMPARE(titles(), (QStringList{"Morning 0", "Morning 1"}));
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    QCOMPARE(window->core->currentIndex, 0);
    QVERIFY(window->ringer->window()->findChild<QLabel *>(QStringLiteral("alarmPlaylistLabel"))->isHidden());
    QVERIFY(window->actionRestoreList->isEnabled());

    QCOMPARE(window->actionRestoreList->toolTip(), QStringLiteral("アラームが鳴らす前のプレイリスト（2 曲）に戻します"));

    window->stopRinging();
    window->actionRestoreList->trigger();
    QTRY_COMPARE(titles(), (QStringList{"Mine 0", "Mine 1"}));
    // The alarm's list is kept in turn: pressed again, it swaps back.
    QVERIFY(window->actionRestoreList->isEnabled());
    QCOMPARE(window->actionRestoreList->toolTip(), QStringLiteral("「戻す」の前のプレイリスト（2 曲）に戻します"));
}

void tst_AlarmPlaylist::fallsBackAndSaysWhy_data()
{
    QTest::addColumn<QString>("content"); // "none": no file
    QTest::addColumn<QString>("note");
    QTest::newRow("missing") << "none" << "プレイリスト「朝」が見つかりません（いまのプレイリストで鳴らします）";
    QTest::newRow("empty") << "" << "プレイリスト「朝」は空です（いまのプレイリストで鳴らします）";
    QTest::newRow("every file gone") << "/gone/a.mp3"
                                     << "プレイリスト「朝」の曲がどれも見つかりません（いまのプレイリストで鳴らします）";
}

void tst_AlarmPlaylist::fallsBackAndSaysWhy()
{
    QFETCH(QString, content);
    QFETCH(QString, note);
    if (content != QLatin1String("none")) {
        QList<storedTrack> tracks;
        if (!content.isEmpty()) {
            storedTrack gone;
            gone.file = content;
            tracks << gone;
        }
        QVERIFY(playlistStore::save(QStringLiteral("朝"), tracks));
    }
    fire(QStringLiteral("朝"));
    QCOMPARE(titles(), (QStringList{"Mine 0", "Mine 1"}));
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    auto *label = window->ringer->window()->findChild<QLabel *>(QStringLiteral("alarmPlaylistLabel"));
    QCOMPARE(label->text(), note);
    QVERIFY(!label->isHidden());
    QVERIFY(!window->actionRestoreList->isEnabled());
    window->stopRinging();
}

void tst_AlarmPlaylist::theListComesBackAfterARestart()
{
    QList<storedTrack> tracks;
    storedTrack track;
    track.file = morning.at(1);
    tracks << track;
    QVERIFY(playlistStore::save(QStringLiteral("朝"), tracks));
    fire(QStringLiteral("朝"));
    QCOMPARE(titles(), QStringList{"Morning 1"});
    window->stopRinging();
    window->close();
    window.reset();

    startWindow();
    QTRY_COMPARE(titles(), QStringList{"Morning 1"});
    QVERIFY(window->actionRestoreList->isEnabled());
    window->actionRestoreList->trigger();
    QTRY_COMPARE(titles(), (QStringList{"Mine 0", "Mine 1"}));
    window->close();
    window.reset();
    startWindow();
    QTRY_COMPARE(titles(), (QStringList{"Mine 0", "Mine 1"}));
    QVERIFY(window->actionRestoreList->isEnabled());
    window->actionRestoreList->trigger();
    QTRY_COMPARE(titles(), QStringList{"Morning 1"});
}

void tst_AlarmPlaylist::playlistFileOnTheCommandLine()
{
    const QString list = fixtures->path(QStringLiteral("list.m3u8"));
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#EXTM3U\nmorning1.wav\nnot-there.wav\nmorning0.wav\n");
    file.close();
    ModalAnswerer answerer(QMessageBox::Ok);
    answerer.arm();
    window->addPaths({list});
    QVERIFY(answerer.waitAnswered());
    QCOMPARE(answerer.count, 1); // one box for the command
    QVERIFY(answerer.text.contains(QStringLiteral("not-there.wav")));
    QTRY_COMPARE(titles(), (QStringList{"Mine 0", "Mine 1", "Morning 1", "Morning 0"}));
}

void tst_AlarmPlaylist::editPlaylists(const QStringList &steps)
{
    setWindow *settingsWindow = window->setWin;
    window->findChild<QAction *>(QStringLiteral("actionSettings"))->trigger();
    QVERIFY(settingsWindow->isVisible());
    for (const QString &step : steps) {
        const QStringList words = step.split(QLatin1Char(' '));
        settingsWindow->playlists->refresh();
        settingsWindow->playlists->select(words.at(1));
        QCOMPARE(settingsWindow->playlists->selectedName(), words.at(1));
        // A refused rename says why in a box; a delete asks first.
        ModalAnswerer answerer(words.at(0) == QLatin1String("delete") ? QMessageBox::Yes : QMessageBox::Ok);
        answerer.arm();
        if (words.at(0) == QLatin1String("delete")) {
            settingsWindow->playlists->remove();
            QVERIFY(answerer.answered);
        } else {
            settingsWindow->findChild<QLineEdit *>(QStringLiteral("playlist_add_name"))->setText(words.at(2));
            settingsWindow->playlists->rename();
        }
    }
    settingsWindow->close();
}

void tst_AlarmPlaylist::snoozeKeepsToItsPlaylist_data()
{
    QTest::addColumn<bool>("whileRinging");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("plays");
    QTest::addColumn<QString>("note");
    const QStringList morningTitles{"Morning 0", "Morning 1"};
    QTest::newRow("renamed while snoozed") << false << QStringList{"rename 朝 目覚まし"} << morningTitles << "";
    QTest::newRow("renamed while ringing") << true << QStringList{"rename 朝 目覚まし"} << morningTitles << "";
    QTest::newRow("renamed, then its old name taken by another")
        << false << QStringList{"rename 朝 目覚まし", "rename 夜 朝"} << morningTitles << "";
    QTest::newRow("renamed twice") << false << QStringList{"rename 朝 目覚まし", "rename 目覚まし 平日"}
                                   << morningTitles << "";
    QTest::newRow("renamed to another's name: refused")
        << false << QStringList{"rename 朝 夜"} << morningTitles << "";
    // What plays then is the list in the window, which the first ring made the alarm's.
    QTest::newRow("renamed, then deleted")
        << false << QStringList{"rename 朝 目覚まし", "delete 目覚まし"} << morningTitles
        << "プレイリスト「目覚まし」が見つかりません（いまのプレイリストで鳴らします）";
}

void tst_AlarmPlaylist::snoozeKeepsToItsPlaylist()
{
    QFETCH(bool, whileRinging);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, plays);
    QFETCH(QString, note);
    const auto stored = [](const QString &file) {
        storedTrack track;
        track.file = file;
        return track;
    };
    QVERIFY(playlistStore::save(QStringLiteral("朝"), {stored(morning.at(0)), stored(morning.at(1))}));
    QVERIFY(playlistStore::save(QStringLiteral("夜"), {stored(mine.at(1))}));
    window->setWin->setAlarmOptions(5, 60, true, false);
    fire(QStringLiteral("朝"));
    QCOMPARE(titles(), (QStringList{"Morning 0", "Morning 1"}));
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    if (whileRinging)
        editPlaylists(steps);
    window->snoozeRinging();
    QVERIFY(!window->ringer->isRinging());
    QTRY_VERIFY_WITH_TIMEOUT(!window->core->isPlaying(), 5000);
    if (!whileRinging)
        editPlaylists(steps);

    clock = clock.addSecs(5 * 60);
    window->checkAlarms();
    QVERIFY(window->ringer->isRinging());
    QCOMPARE(titles(), plays);
    auto *label = window->ringer->window()->findChild<QLabel *>(QStringLiteral("alarmPlaylistLabel"));
    QCOMPARE(label->isHidden(), note.isEmpty());
    if (!note.isEmpty())
        QCOMPARE(label->text(), note);
    window->stopRinging();
}

QTEST_MAIN(tst_AlarmPlaylist)
#include "tst_alarmplaylist.moc"
