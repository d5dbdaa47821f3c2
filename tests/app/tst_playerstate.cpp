// The player state across restarts: what one window saves at close, the next
// window of the same process restores.
#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "app/mainwindow.h"
#include "library/musicinfo.h"
#include "player/musicplay.h"
#include "playlist/trackloader.h"
#include "playlist/vurncore.h"
#include "settings/setwindow.h"
#include "storage/vurnsettings.h"
#include "support/audiofixtures.h"
#include "support/inisnapshot.h"
#include "support/playlisttable.h"

#include <QAction>
#include <QActionGroup>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QSlider>
#include <QTableView>
#include <QTest>
#include <QTextCodec>

#include <memory>

class tst_PlayerState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void firstRunDefaults();
    void roundTrip_data();
    void roundTrip();
    void removedEntriesVanish();
    void closingWhilePlayingStopsFirst();
    void closingWhileAddingSavesEverything();
    void unchangedFilesNotReadAgain_data();
    void unchangedFilesNotReadAgain();

private:
    std::unique_ptr<MainWindow> start();
    static void addAlarm(alarmList *list, const QString &time, const QString &mode, bool first);
    QStringList titles(MainWindow *window);
    QString iniValue(const QString &key);

    std::unique_ptr<AudioFixtures> fixtures;
    std::unique_ptr<QTemporaryDir> stateDir;
    QStringList files;
};

void tst_PlayerState::initTestCase()
{
    fixtures = std::make_unique<AudioFixtures>();
    const QStringList names = {"朝の歌", "Beta", "Gamma"};
    for (int i = 0; i < names.size(); ++i)
        files << fixtures->make(QStringLiteral("s%1.wav").arg(i), 1000, TrackTags{names.at(i), {}, {}, 0});
    files << fixtures->make(QStringLiteral("long.flac"), 5000, TrackTags{QStringLiteral("Long"), {}, {}, 0});
    QVERIFY(!files.contains(QString()));
}

void tst_PlayerState::init()
{
    stateDir = std::make_unique<QTemporaryDir>();
    vurnSettings::setStateDirectoryOverride(stateDir->path());
}

void tst_PlayerState::cleanup()
{
    vurnSettings::setStateDirectoryOverride(QString());
    stateDir.reset();
}

std::unique_ptr<MainWindow> tst_PlayerState::start()
{
    auto window = std::make_unique<MainWindow>();
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        qWarning("window not exposed");
    // The saved list arrives after the window shows.
    QElapsedTimer waited;
    waited.start();
    while (window->loader->isBusy() && waited.elapsed() < 10000)
        QTest::qWait(5);
    return window;
}

void tst_PlayerState::addAlarm(alarmList *list, const QString &time, const QString &mode, bool first)
{
    auto *alarm = new alarmOne(list);
    alarm->enabled = !first;
    alarm->hour = time.left(2);
    alarm->minute = time.mid(3, 2);
    alarm->week[0] = true;
    alarm->week[6] = first;
    alarm->playListName = QStringLiteral("標準プレイリスト");
    alarm->playMode = mode;
    alarm->firstPlay = first;
    alarm->interrupt = !first;
    alarm->volume = QStringLiteral("55");
    alarm->volumeControl = QStringLiteral("フェードイン：7分");
    list->append(alarm);
}

QStringList tst_PlayerState::titles(MainWindow *window)
{
    QStringList result;
    result = PlaylistTable::titles(window->findChild<QTableView *>(QStringLiteral("playListTable")));
    return result;
}

QString tst_PlayerState::iniValue(const QString &key)
{
    QSettings ini(IniSnapshot::of(stateDir->filePath(QStringLiteral("Vurn.ini"))), QSettings::IniFormat);
    ini.setIniCodec("UTF-8");
    return ini.value(key).toString();
}

void tst_PlayerState::firstRunDefaults()
{
    auto window = start();
    QCOMPARE(window->core->modeText, QStringLiteral("全曲リピート(>>)"));
    QCOMPARE(window->findChild<QAction *>(QStringLiteral("actionMode"))->text(),
             QStringLiteral("全曲リピート(>>)"));
    QCOMPARE(window->findChild<QSlider *>(QStringLiteral("volumeSlider"))->value(), 70);
    QVERIFY(window->setWin->isAlarmEnabled());
    QCOMPARE(window->setWin->currentAlarmList()->size(), 0);
    QCOMPARE(titles(window.get()), QStringList());
    window->close();
    // Closing writes the whole state, even with nothing playing or changed.
    QVERIFY(QFile::exists(stateDir->filePath(QStringLiteral("Vurn.ini"))));
    QCOMPARE(iniValue(QStringLiteral("General/RepeatMode")), QStringLiteral("全曲リピート(>>)"));
    QCOMPARE(iniValue(QStringLiteral("General/Volume")), QStringLiteral("70"));
}

void tst_PlayerState::roundTrip_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("restoredMode");
    QTest::addColumn<double>("volume");
    QTest::addColumn<int>("restoredVolume");
    QTest::newRow("shuffle, 0.555") << "シャッフル" << "シャッフル" << 0.555 << 56;
    QTest::newRow("backwards, 0.07") << "全曲リピート(<<)" << "全曲リピート(<<)" << 0.07 << 7;
    QTest::newRow("numbered mode saved as no repeat")
        << "リピートなし：2" << "リピートなし" << 0.5 << 50;
}

void tst_PlayerState::roundTrip()
{
    QFETCH(QString, mode);
    QFETCH(QString, restoredMode);
    QFETCH(double, volume);
    QFETCH(int, restoredVolume);
    QRect geometry;
    {
        auto window = start();
        window->core->addFiles({files.at(2), files.at(0), files.at(1)});
        window->applyModeByName(mode);
        window->core->player->setVolume(volume);
        auto *alarms = new alarmList(window.get());
        addAlarm(alarms, QStringLiteral("06:45"), QStringLiteral("ランダム"), false);
        addAlarm(alarms, QStringLiteral("21:05"), QStringLiteral("リピートなし：3"), true);
        window->setWin->setAlarmList(alarms);
        window->setWin->setAlarmEnabled(false);
        window->resize(420, 510);
        QTRY_COMPARE(window->size(), QSize(420, 510));
        geometry = window->geometry();
        window->close();
    }
    auto window = start();
    QCOMPARE(window->core->modeText, restoredMode);
    QCOMPARE(window->currentModeText(), restoredMode);
    QCOMPARE(window->findChild<QSlider *>(QStringLiteral("volumeSlider"))->value(), restoredVolume);
    QCOMPARE(window->volumePercent(), restoredVolume);
    QCOMPARE(titles(window.get()), QStringList({"Gamma", "朝の歌", "Beta"}));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("totalNum"))->text(), QStringLiteral("3 曲"));
    QVERIFY(!window->setWin->isAlarmEnabled());
    const alarmList *alarms = window->setWin->currentAlarmList();
    QCOMPARE(alarms->size(), 2);
    const alarmOne *second = alarms->at(1);
    QCOMPARE(second->enabled, false);
    QCOMPARE(second->hour, QStringLiteral("21"));
    QCOMPARE(second->minute, QStringLiteral("05"));
    QVERIFY(second->week[0] && second->week[6] && !second->week[3]);
    QCOMPARE(second->playMode, QStringLiteral("リピートなし：3"));
    QCOMPARE(second->firstPlay, true);
    QCOMPARE(second->interrupt, false);
    QCOMPARE(second->volume, QStringLiteral("55"));
    QCOMPARE(second->volumeControl, QStringLiteral("フェードイン：7分"));
    QCOMPARE(alarms->at(0)->playMode, QStringLiteral("ランダム"));
    QCOMPARE(window->size(), geometry.size());
    window->close();
}

void tst_PlayerState::removedEntriesVanish()
{
    {
        auto window = start();
        window->core->addFiles(files.mid(0, 3));
        auto *alarms = new alarmList(window.get());
        addAlarm(alarms, QStringLiteral("06:45"), QStringLiteral("ランダム"), false);
        addAlarm(alarms, QStringLiteral("07:00"), QStringLiteral("シャッフル"), false);
        window->setWin->setAlarmList(alarms);
        window->close();
    }
    QCOMPARE(iniValue(QStringLiteral("2/File")), files.at(2));
    QCOMPARE(iniValue(QStringLiteral("Alarm1/PlayMode")), QStringLiteral("シャッフル"));
    {
        auto window = start();
        QCOMPARE(titles(window.get()).size(), 3);
        window->core->removeTracks(1, 2);
        auto *alarms = new alarmList(window.get());
        addAlarm(alarms, QStringLiteral("08:15"), QStringLiteral("ランダム"), false);
        window->setWin->setAlarmList(alarms);
        window->close();
    }
    QCOMPARE(iniValue(QStringLiteral("0/File")), files.at(0));
    QVERIFY(iniValue(QStringLiteral("1/File")).isEmpty());
    QVERIFY(iniValue(QStringLiteral("2/File")).isEmpty());
    QCOMPARE(iniValue(QStringLiteral("Alarm0/Time")), QStringLiteral("08:15"));
    QVERIFY(iniValue(QStringLiteral("Alarm1/PlayMode")).isEmpty());
    auto window = start();
    QCOMPARE(titles(window.get()), QStringList({"朝の歌"}));
    QCOMPARE(window->setWin->currentAlarmList()->size(), 1);
    window->close();
}

void tst_PlayerState::closingWhilePlayingStopsFirst()
{
    auto window = start();
    window->core->addFiles({files.at(3)});
    auto *play = window->findChild<QAction *>(QStringLiteral("actionPlay"));
    play->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(window->core->isPlaying(), 8000);
    window->close();
    QCOMPARE(play->text(), QStringLiteral("♪"));
    QTRY_VERIFY(!window->core->isPlaying());
    QCOMPARE(iniValue(QStringLiteral("0/File")), files.at(3));
}

void tst_PlayerState::closingWhileAddingSavesEverything()
{
    AudioFixtures own;
    QStringList many;
    for (int i = 0; i < 600; ++i)
        many << own.makeTinyWav(QStringLiteral("m%1.wav").arg(i), 1000);
    auto window = start();
    window->loader->sliceMsec = 1;
    window->loader->addFiles(many);
    QVERIFY(window->loader->isBusy());
    window->close();
    QCOMPARE(iniValue(QStringLiteral("599/File")), many.last());
    QCOMPARE(iniValue(QStringLiteral("0/File")), many.first());
}

void tst_PlayerState::unchangedFilesNotReadAgain_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("title");
    // The kept title is edited by hand to tell a rebuilt track from a re-read one.
    QTest::newRow("unchanged: rebuilt from the kept values") << "none" << "Kept";
    QTest::newRow("touched: read again") << "touch" << "Tagged";
    QTest::newRow("rewritten, same time: read again") << "size" << "Tagged";
    QTest::newRow("file from before the stamps") << "unstamped" << "Tagged";
    QTest::newRow("garbled stamp") << "garbled" << "Tagged";
    QTest::newRow("kept length unusable") << "length" << "Tagged";
    QTest::newRow("vanished: dropped") << "remove" << "";
}

void tst_PlayerState::unchangedFilesNotReadAgain()
{
    QFETCH(QString, change);
    QFETCH(QString, title);
    AudioFixtures own;
    const QString path = own.make(QStringLiteral("stamped.wav"), 2000, TrackTags{QStringLiteral("Tagged"),
                                                                                  QStringLiteral("Artist"),
                                                                                  QStringLiteral("Album"), 1999});
    QVERIFY(!path.isEmpty());
    {
        auto window = start();
        window->core->addFiles({path});
        window->close();
    }
    QCOMPARE(iniValue(QStringLiteral("0/Year")), QStringLiteral("1999"));
    QCOMPARE(iniValue(QStringLiteral("0/Size")), QString::number(QFileInfo(path).size()));
    QVERIFY(!iniValue(QStringLiteral("0/Modified")).isEmpty());
    // Edited as another tool would, on a copy QSettings has not seen yet.
    const QString iniPath = stateDir->path() + QStringLiteral("/Vurn.ini");
    const QString edited = IniSnapshot::of(iniPath);
    {
        QSettings ini(edited, QSettings::IniFormat);
        ini.setIniCodec("UTF-8");
        ini.setValue(QStringLiteral("0/Title"), QStringLiteral("Kept"));
        if (change == QLatin1String("unstamped")) {
            ini.remove(QStringLiteral("0/Size"));
            ini.remove(QStringLiteral("0/Modified"));
            ini.remove(QStringLiteral("0/Year"));
        } else if (change == QLatin1String("garbled")) {
            ini.setValue(QStringLiteral("0/Modified"), QStringLiteral("yesterday"));
        } else if (change == QLatin1String("length")) {
            ini.setValue(QStringLiteral("0/Time"), 0);
        }
    }
    QVERIFY(QFile::remove(iniPath) && QFile::copy(edited, iniPath));
    QFile file(path);
    const QDateTime stamp = QFileInfo(path).lastModified();
    if (change == QLatin1String("touch")) {
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(stamp.addSecs(-60), QFileDevice::FileModificationTime));
        file.close();
    } else if (change == QLatin1String("size")) {
        // Retagged with a longer title: another size, the old time put back.
        const qint64 before = QFileInfo(path).size();
        QVERIFY(AudioFixtures::writeTags(path, TrackTags{QStringLiteral("Tagged"), QString(3000, QLatin1Char('a')),
                                                         QStringLiteral("Album"), 1999}));
        QVERIFY(QFileInfo(path).size() != before);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(stamp, QFileDevice::FileModificationTime));
        file.close();
    } else if (change == QLatin1String("remove")) {
        QVERIFY(QFile::remove(path));
    }

    auto window = start();
    QCOMPARE(titles(window.get()), title.isEmpty() ? QStringList() : QStringList{title});
    if (title.isEmpty())
        return;
    const musicInfo *track = window->core->tracks().first();
    QCOMPARE(track->lengthMsec, 2000);
    QCOMPARE(track->year, QStringLiteral("1999"));
    QCOMPARE(track->album, QStringLiteral("Album"));
    QCOMPARE(window->core->totalText, QStringLiteral("00:02"));
    // Rebuilt or read, the track plays and is saved with fresh stamps.
    window->close();
    QCOMPARE(iniValue(QStringLiteral("0/Size")), QString::number(QFileInfo(path).size()));
}

QTEST_MAIN(tst_PlayerState)
#include "tst_playerstate.moc"
