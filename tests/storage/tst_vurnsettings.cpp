#include "alarm/alarmlist.h"
#include "alarm/alarmliststore.h"
#include "library/musicinfo.h"
#include "storage/vurnsettings.h"
#include "support/inisnapshot.h"
#include "support/settingsreader.h"
#include "support/statedir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QTest>

#include <memory>

namespace {

musicInfo *makeTrack(QObject *owner, const QString &file, int msec, const QString &title)
{
    auto *track = new musicInfo(owner);
    track->filePath = file;
    track->lengthMsec = msec;
    track->title = title;
    track->artist = title + QStringLiteral(" の歌手");
    track->album = title + QStringLiteral(" のアルバム");
    return track;
}

} // namespace

class tst_vurnSettings : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<StateDir> dir;
    QString iniPath() const { return dir->filePath(QStringLiteral("Vurn.ini")); }

private slots:
    void init()
    {
        dir.reset(new StateDir);
        QVERIFY(dir->isValid());
    }
    void cleanup() { dir.reset(); }

    void firstRunDefaults()
    {
        vurnSettings settings;
        QString name;
        settings.openFile(name);
        QCOMPARE(name, QStringLiteral("Vurn"));
        QCOMPARE(settings.filePath, iniPath());
        QCOMPARE(settings.loadRepeatMode(), QStringLiteral("全曲リピート(>>)"));
        QCOMPARE(settings.loadVolume(), 70);
        QCOMPARE(settings.loadAlarmEnable(), true);
        QVERIFY(settings.loadPlayList().isEmpty());
        alarmList *alarms = alarmListStore::load(settings);
        QCOMPARE(alarms->size(), 0);
        QCOMPARE(alarms->parent(), &settings);
        QVERIFY(settings.loadGeometry().isEmpty());
        QVERIFY(settings.loadWindowState().isEmpty());
    }

    void generalValues_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QString>("mode");
        QTest::addColumn<int>("volume");
        QTest::addColumn<bool>("alarmEnable");

        QTest::newRow("written by QSettings") << QByteArray("[%General]\nRepeatMode=シャッフル\nVolume=40\nalarmEnable=false\n")
                                              << QStringLiteral("シャッフル") << 40 << false;
        QTest::newRow("hand-written [General]") << QByteArray("[General]\nRepeatMode=ランダム\nVolume=5\nalarmEnable=false\n")
                                                << QStringLiteral("ランダム") << 5 << false;
        QTest::newRow("group wins over top level") << QByteArray("[General]\nVolume=5\n[%General]\nVolume=6\n")
                                                   << QStringLiteral("全曲リピート(>>)") << 6 << true;
        QTest::newRow("volume not a number") << QByteArray("[%General]\nVolume=abc\n")
                                             << QStringLiteral("全曲リピート(>>)") << 0 << true;
        QTest::newRow("volume too large for int") << QByteArray("[%General]\nVolume=99999999999999999999\n")
                                                  << QStringLiteral("全曲リピート(>>)") << 0 << true;
        QTest::newRow("unquoted comma in mode") << QByteArray("[%General]\nRepeatMode=a, b\n")
                                                << QStringLiteral("a, b") << 70 << true;
        QTest::newRow("unknown mode kept as text") << QByteArray("[%General]\nRepeatMode=Repeat all\n")
                                                   << QStringLiteral("Repeat all") << 70 << true;
        QTest::newRow("not an INI file") << QByteArray("\xff\xfe\x00garbage\n===\n[[[\n", 19)
                                         << QStringLiteral("全曲リピート(>>)") << 70 << true;
    }
    void generalValues()
    {
        QFETCH(QByteArray, ini);
        StateDir::write(iniPath(), ini);
        SettingsReader reader(dir->path());
        QTEST(reader.settings.loadRepeatMode(), "mode");
        QTEST(reader.settings.loadVolume(), "volume");
        QTEST(reader.settings.loadAlarmEnable(), "alarmEnable");
    }

    void alarmOptions_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("snooze");
        QTest::addColumn<int>("catchUp");
        QTest::addColumn<bool>("tray");
        QTest::addColumn<bool>("stayAwake");
        QTest::newRow("file from before the options") << QByteArray("[%General]\nVolume=40\n") << 10 << 60 << true << false;
        QTest::newRow("all set") << QByteArray("[%General]\nSnoozeMinutes=30\nCatchUpMinutes=0\n"
                                               "KeepRunningInTray=false\nStayAwakeForAlarms=true\n")
                                 << 30 << 0 << false << true;
        QTest::newRow("hand-written [General]") << QByteArray("[General]\nSnoozeMinutes=5\nCatchUpMinutes=120\n")
                                                << 5 << 120 << true << false;
        QTest::newRow("values no chooser offers") << QByteArray("[%General]\nSnoozeMinutes=7\nCatchUpMinutes=-5\n")
                                                  << 10 << 60 << true << false;
        QTest::newRow("not numbers") << QByteArray("[%General]\nSnoozeMinutes=abc\nCatchUpMinutes=\n") << 10 << 60
                                     << true << false;
    }
    void alarmOptions()
    {
        QFETCH(QByteArray, ini);
        StateDir::write(iniPath(), ini);
        {
            SettingsReader reader(dir->path());
            QTEST(reader.settings.loadSnoozeMinutes(), "snooze");
            QTEST(reader.settings.loadCatchUpMinutes(), "catchUp");
            QTEST(reader.settings.loadKeepRunningInTray(), "tray");
            QTEST(reader.settings.loadStayAwakeForAlarms(), "stayAwake");
            // Never written in these files: waking and unmuting are on, login start not yet offered.
            QVERIFY(reader.settings.loadWakeFromSleep());
            QVERIFY(reader.settings.loadUnmuteForAlarms());
            QVERIFY(!reader.settings.loadAutostartOffered());
        }
        // Written and read back, next to the keys that were there.
        {
            vurnSettings settings;
            QString name = QStringLiteral("Vurn");
            settings.openFile(name);
            settings.saveSnoozeMinutes(15);
            settings.saveCatchUpMinutes(30);
            settings.saveKeepRunningInTray(false);
            settings.saveStayAwakeForAlarms(true);
            settings.saveWakeFromSleep(false);
            settings.saveUnmuteForAlarms(false);
            settings.saveAutostartOffered(true);
            settings.sync();
        }
        SettingsReader again(dir->path());
        QCOMPARE(again.settings.loadSnoozeMinutes(), 15);
        QCOMPARE(again.settings.loadCatchUpMinutes(), 30);
        QCOMPARE(again.settings.loadKeepRunningInTray(), false);
        QCOMPARE(again.settings.loadStayAwakeForAlarms(), true);
        QCOMPARE(again.settings.loadWakeFromSleep(), false);
        QCOMPARE(again.settings.loadUnmuteForAlarms(), false);
        QCOMPARE(again.settings.loadAutostartOffered(), true);
    }

    void generalRoundTrip()
    {
        QByteArray geometry;
        for (int i = 0; i < 256; ++i)
            geometry.append(char(i));
        {
            vurnSettings settings;
            QString name = QStringLiteral("Vurn");
            settings.openFile(name);
            settings.saveRepeatMode(QStringLiteral("リピートなし：ランダム"));
            settings.saveVolume(0);
            settings.saveAlarmEnable(false);
            settings.saveWindowLayout(geometry, QByteArray("state\n=[x]"));
            settings.sync();
            // On disk now, although the object lives on.
            const QByteArray bytes = StateDir::read(iniPath());
            QVERIFY(bytes.contains(QStringLiteral("リピートなし：ランダム").toUtf8()));
            SettingsReader reader(dir->path());
            QCOMPARE(reader.settings.loadRepeatMode(), QStringLiteral("リピートなし：ランダム"));
            QCOMPARE(reader.settings.loadVolume(), 0);
            QCOMPARE(reader.settings.loadAlarmEnable(), false);
            QCOMPARE(reader.settings.loadGeometry(), geometry);
            QCOMPARE(reader.settings.loadWindowState(), QByteArray("state\n=[x]"));
        }
        QSettings raw(IniSnapshot::of(iniPath()), QSettings::IniFormat);
        QCOMPARE(raw.value(QStringLiteral("General/Version")).toString(), QStringLiteral("0.3.4"));
        QCOMPARE(raw.value(QStringLiteral("General/Volume")).toInt(), 0);
    }

    void loadPlayList_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<QStringList>("files");

        QTest::newRow("gap after 1") << QByteArray("[0]\nFile=/a.mp3\n[1]\nFile=/b.mp3\n[3]\nFile=/d.mp3\n")
                                     << QStringList{"/a.mp3", "/b.mp3"};
        QTest::newRow("title without file ends") << QByteArray("[0]\nFile=/a.mp3\n[1]\nTitle=x\n[2]\nFile=/c.mp3\n")
                                                 << QStringList{"/a.mp3"};
        QTest::newRow("empty file ends") << QByteArray("[0]\nFile=\n[1]\nFile=/b.mp3\n") << QStringList();
        QTest::newRow("no group 0") << QByteArray("[1]\nFile=/b.mp3\n") << QStringList();
        QTest::newRow("japanese path") << QByteArray("[0]\nFile=/音楽/曲 1.mp3\n")
                                       << QStringList{QStringLiteral("/音楽/曲 1.mp3")};
        QTest::newRow("leading zero is another group") << QByteArray("[0]\nFile=/a\n[01]\nFile=/b\n")
                                                       << QStringList{"/a"};
    }
    void loadPlayList()
    {
        QFETCH(QByteArray, ini);
        StateDir::write(iniPath(), ini);
        SettingsReader reader(dir->path());
        QTEST(reader.settings.loadPlayList(), "files");
    }

    void savedPlaylistOverwritesGroupByGroup()
    {
        QObject owner;
        QList<musicInfo *> five;
        for (int i = 0; i < 5; ++i)
            five << makeTrack(&owner, QStringLiteral("/old/%1.mp3").arg(i), 1000 * i, QStringLiteral("古い"));
        const QList<musicInfo *> two{makeTrack(&owner, QStringLiteral("/新/a.mp3"), 61000, QStringLiteral("新しい")),
                                     makeTrack(&owner, QStringLiteral("/新/b.mp3"), 62000, QStringLiteral("b"))};
        for (const QList<musicInfo *> &tracks : {five, two}) {
            vurnSettings settings;
            QString name = QStringLiteral("playlists/朝/お気に入り");
            settings.openFile(name);
            settings.savePlayList(tracks);
        }
        const QString path = dir->filePath(QStringLiteral("playlists/朝/お気に入り.ini"));
        QVERIFY(QFileInfo::exists(path));
        QSettings raw(IniSnapshot::of(path), QSettings::IniFormat);
        raw.setIniCodec("UTF-8");
        QCOMPARE(raw.value(QStringLiteral("General/Version")).toString(), QStringLiteral("0.3.4"));
        QCOMPARE(raw.value(QStringLiteral("0/File")).toString(), QStringLiteral("/新/a.mp3"));
        QCOMPARE(raw.value(QStringLiteral("0/Time")).toUInt(), 61000u);
        QCOMPARE(raw.value(QStringLiteral("0/Title")).toString(), QStringLiteral("新しい"));
        QCOMPARE(raw.value(QStringLiteral("0/Artist")).toString(), QStringLiteral("新しい の歌手"));
        QCOMPARE(raw.value(QStringLiteral("0/Album")).toString(), QStringLiteral("新しい のアルバム"));
        QCOMPARE(raw.value(QStringLiteral("1/File")).toString(), QStringLiteral("/新/b.mp3"));
        for (int i = 2; i < 5; ++i)
            QCOMPARE(raw.value(QStringLiteral("%1/File").arg(i)).toString(), QStringLiteral("/old/%1.mp3").arg(i));
        QVERIFY(!raw.contains(QStringLiteral("5/File")));
    }

    void playlistNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("plain") << "お気に入り" << true;
        QTest::newRow("subfolder") << "朝/月曜" << true;
        QTest::newRow("down and up") << "a/../b" << true;
        QTest::newRow("dots inside name") << ".." << true; // the file "...ini"
        QTest::newRow("trailing slash") << "sub/" << true;
        QTest::newRow("leading colon") << ":x" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("parent") << "../x" << false;
        QTest::newRow("two up") << "../../x" << false;
        QTest::newRow("up via subfolder") << "a/../../x" << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("only up") << "../" << false;
        QTest::newRow("nul") << QStringLiteral("ok") + QChar(0) + QStringLiteral("/../../x") << false;
    }
    void playlistNames()
    {
        QFETCH(QString, name);
        QTEST(vurnSettings::isSafePlaylistName(name), "safe");
    }

    void garbageFilesLoad()
    {
        const QByteArray base =
            "[%General]\nRepeatMode=シャッフル\nVolume=40\nalarmEnable=true\ngeometry=@ByteArray(\\x1\\xd9\\xd0\\xcb)\n"
            "[0]\nFile=/a.mp3\nTime=1000\n[1]\nFile=/b.mp3\n"
            "[Alarm0]\nEnabled=true\nTime=07:30\nWeek=024\nPlayList=標準プレイリスト\nPlayMode=ランダム\n"
            "FirstPlay=false\nInterrupt=true\nVolume=50\nVolumeControl=しない\n"
            "[Alarm1]\nTime=08:00\n";
        const QList<QByteArray> pieces = {
            "\n", "=", "[", "]", "[Alarm0]\n", "[0]\n", "[%General]\n", "[General]\n", "Week=", "Time=",
            "File=", "Volume=99999999999999999999999", "Enabled=maybe", "@ByteArray(", "@Variant(\\0\\0\\0\\x7f\\0\\0\\0",
            "@Variant(\\0\\0\\0\\n\\xff\\xff\\xff\\xf0", "\\x", "\"", ";", "\xff\xfe\xc3", "\xe3\x81", "%", "\\u",
            "geometry=@ByteArray(\\xff\\xff\\xff\\xff)", "a, b, c", "\r\n"};
        QRandomGenerator rng(20261208);
        const int files = 2000;
        for (int n = 0; n < files; ++n) {
            QByteArray bytes = base;
            const int edits = 1 + int(rng.bounded(12));
            for (int e = 0; e < edits; ++e) {
                const int at = int(rng.bounded(bytes.size() + 1));
                switch (rng.bounded(5)) {
                case 0: // random bytes
                    for (int k = int(rng.bounded(8)); k >= 0; --k)
                        bytes.insert(at, char(rng.bounded(256)));
                    break;
                case 1: // cut
                    bytes.remove(at, int(rng.bounded(40)));
                    break;
                case 2:
                    bytes.insert(at, pieces.at(int(rng.bounded(pieces.size()))));
                    break;
                case 3: // a very long line now and then
                    if (rng.bounded(20) == 0)
                        bytes.insert(at, QByteArray(100000, 'x'));
                    break;
                default: // flip a byte
                    if (at < bytes.size())
                        bytes[at] = char(bytes.at(at) ^ (1 << rng.bounded(8)));
                    break;
                }
            }
            // A new name each time: QSettings would take a file rewritten
            // within the same millisecond at the same size for the one it read.
            const QString name = QStringLiteral("garbage%1").arg(n);
            const QString path = dir->filePath(name + QStringLiteral(".ini"));
            StateDir::write(path, bytes);
            SettingsReader reader(dir->path(), name);
            vurnSettings &s = reader.settings;
            s.loadRepeatMode();
            s.loadVolume();
            s.loadAlarmEnable();
            s.loadGeometry();
            s.loadWindowState();
            const QStringList groups = QSettings(IniSnapshot::of(path), QSettings::IniFormat).childGroups();
            const QStringList playlist = s.loadPlayList();
            QVERIFY(playlist.size() <= groups.size());
            for (const QString &file : playlist)
                QVERIFY(!file.isEmpty());
            std::unique_ptr<alarmList> alarms(alarmListStore::load(s));
            QVERIFY(alarms->size() <= groups.filter(QStringLiteral("Alarm")).size());
        }
    }
};

QTEST_GUILESS_MAIN(tst_vurnSettings)

#include "tst_vurnsettings.moc"
