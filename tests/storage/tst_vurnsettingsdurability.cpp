#include "alarm/alarmlist.h"
#include "alarm/alarmliststore.h"
#include "alarm/alarmone.h"
#include "library/musicinfo.h"
#include "storage/vurnsettings.h"
#include "support/inisnapshot.h"
#include "support/settingsreader.h"
#include "support/statedir.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QSysInfo>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/types.h>
#include <unistd.h>

// The state file is always one whole save: none of an earlier one left in it,
// a kill at any moment of a save, and the lock files a killed writer leaves.
namespace {

// ---- The state a killed writer saves over and over --------------------------

int trackCount(int gen) { return 20 + (gen * 97) % 400; }
int alarmCount(int gen) { return gen % 5; }
QString trackFile(int gen, int k) { return QStringLiteral("/音楽/%1/%2.mp3").arg(gen).arg(k); }
QString genMode(int gen) { return QStringLiteral("世代 %1").arg(gen); }

void saveGeneration(vurnSettings &settings, int gen)
{
    QObject owner;
    alarmList alarms;
    for (int i = 0; i < alarmCount(gen); ++i) {
        auto *alarm = new alarmOne(&alarms);
        alarm->enabled = true;
        alarm->hour = QStringLiteral("07");
        alarm->minute = QString::number(i);
        alarm->playMode = genMode(gen);
        alarms.append(alarm);
    }
    QList<musicInfo *> tracks;
    for (int k = 0; k < trackCount(gen); ++k) {
        auto *track = new musicInfo(&owner);
        track->filePath = trackFile(gen, k);
        track->lengthMsec = 1000 + k;
        track->title = QStringLiteral("曲");
        tracks << track;
    }

    settings.clearAll();
    settings.saveRepeatMode(genMode(gen));
    settings.saveVolume(gen % 101);
    alarmListStore::save(settings, &alarms);
    settings.saveAlarmEnable(gen % 2 == 0);
    settings.savePlayList(tracks);
    settings.saveWindowLayout(QByteArray(64, char(gen % 256)), QByteArray());
    settings.sync();
}

// The generation the file holds when it is whole and consistent, else -1 with the reason.
int checkGeneration(const QString &dir, QString *why)
{
    const QString path = dir + QStringLiteral("/Vurn.ini");
    if (!QFileInfo::exists(path)) {
        *why = QStringLiteral("no file");
        return -1;
    }
    {
        QSettings raw(IniSnapshot::of(path), QSettings::IniFormat);
        raw.setIniCodec("UTF-8");
        if (raw.status() != QSettings::NoError) {
            *why = QStringLiteral("file does not parse");
            return -1;
        }
    }
    SettingsReader reader(dir);
    vurnSettings &s = reader.settings;
    const QString mode = s.loadRepeatMode();
    if (!mode.startsWith(QStringLiteral("世代 "))) {
        *why = QStringLiteral("mode %1").arg(mode);
        return -1;
    }
    const int gen = mode.mid(3).toInt();
    if (s.loadVolume() != gen % 101 || s.loadAlarmEnable() != (gen % 2 == 0)
        || s.loadGeometry() != QByteArray(64, char(gen % 256))) {
        *why = QStringLiteral("general values of another generation than %1").arg(gen);
        return -1;
    }
    const QStringList files = s.loadPlayList();
    if (files.size() != trackCount(gen)) {
        *why = QStringLiteral("%1 tracks for generation %2").arg(files.size()).arg(gen);
        return -1;
    }
    for (int k = 0; k < files.size(); ++k) {
        if (files.at(k) != trackFile(gen, k)) {
            *why = QStringLiteral("track %1 is %2 in generation %3").arg(k).arg(files.at(k)).arg(gen);
            return -1;
        }
    }
    std::unique_ptr<alarmList> alarms(alarmListStore::load(s));
    if (alarms->size() != alarmCount(gen)) {
        *why = QStringLiteral("%1 alarms for generation %2").arg(alarms->size()).arg(gen);
        return -1;
    }
    for (const alarmOne *alarm : *alarms) {
        if (alarm->playMode != genMode(gen)) {
            *why = QStringLiteral("alarm of %1 in generation %2").arg(alarm->playMode).arg(gen);
            return -1;
        }
    }
    return gen;
}

// Child modes of this executable, run by the tests below in a separate process.
int runSaveLoop(const QString &dir)
{
    vurnSettings::setStateDirectoryOverride(dir);
    auto *settings = new vurnSettings; // killed, never destroyed, like the main window's
    QString name = QStringLiteral("Vurn");
    settings->openFile(name);
    int gen = settings->loadRepeatMode().mid(3).toInt();
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        ++gen;
        saveGeneration(*settings, gen);
        std::printf("%d\n", gen);
        std::fflush(stdout);
    }
}

int runSaveOnce(const QString &dir)
{
    vurnSettings::setStateDirectoryOverride(dir);
    vurnSettings settings;
    QString name = QStringLiteral("Vurn");
    settings.openFile(name);
    settings.saveVolume(33);
    settings.sync();
    return 0;
}

} // namespace

class tst_vurnSettingsDurability : public QObject
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

    void clearAllLeavesNoStaleGroups()
    {
        // The main window's pattern: one object, kept open, saved into at close.
        vurnSettings settings;
        QString name = QStringLiteral("Vurn");
        settings.openFile(name);
        saveGeneration(settings, 3); // 311 tracks, 3 alarms
        const QByteArray before = StateDir::read(iniPath());
        QVERIFY(!before.isEmpty());

        settings.clearAll();
        // Nothing is gone from disk until the new state is written.
        QCOMPARE(StateDir::read(iniPath()), before);
        // Nothing is kept in memory either: values read now are the defaults.
        QCOMPARE(settings.loadVolume(), 70);
        QVERIFY(settings.loadPlayList().isEmpty());

        saveGeneration(settings, 10); // 190 tracks, no alarms
        saveGeneration(settings, 4); // 408 tracks, 4 alarms
        saveGeneration(settings, 5); // 105 tracks, no alarms
        QString why;
        QCOMPARE(checkGeneration(dir->path(), &why), 5);
        QSettings raw(IniSnapshot::of(iniPath()), QSettings::IniFormat);
        QVERIFY(!raw.contains(QStringLiteral("Alarm0/PlayList")));
        QVERIFY(!raw.contains(QStringLiteral("105/File")));
        QVERIFY(!raw.contains(QStringLiteral("310/File")));
        QVERIFY(!raw.contains(QStringLiteral("407/File")));
        QCOMPARE(raw.childGroups().size(), 105 + 1);
    }

    void killedWriterLeavesOldOrNewFile()
    {
        {
            vurnSettings::setStateDirectoryOverride(dir->path());
            std::unique_ptr<vurnSettings> seed(new vurnSettings);
            QString name = QStringLiteral("Vurn");
            seed->openFile(name);
            saveGeneration(*seed, 1);
            delete seed->store; // keep the file exactly as saved
            seed->store = nullptr;
        }
        QString why;
        int previous = checkGeneration(dir->path(), &why);
        QCOMPARE(previous, 1);

        // The child reports "ready" once it is running, then each finished save.
        auto startChild = [this](QProcess &child) {
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--save-loop"), dir->path()});
            if (!child.waitForStarted())
                return false;
            while (!child.canReadLine()) {
                if (!child.waitForReadyRead(30000))
                    return false;
            }
            return child.readLine().trimmed() == "ready";
        };
        auto kill = [](QProcess &child) {
            ::kill(pid_t(child.processId()), SIGKILL);
            return child.waitForFinished(10000) && child.exitStatus() == QProcess::CrashExit;
        };

        // How long one save takes here (much longer under sanitizers), so that
        // each kill lands somewhere inside a save.
        qint64 saveMs = 0;
        {
            QProcess child;
            QVERIFY(startChild(child));
            QElapsedTimer timer;
            timer.start();
            while (!child.canReadLine())
                QVERIFY(child.waitForReadyRead(30000));
            saveMs = qMax<qint64>(1, timer.elapsed());
            QVERIFY(kill(child));
        }
        previous = checkGeneration(dir->path(), &why);
        QVERIFY2(previous >= 2, qPrintable(why));

        const int trials = 100;
        int killedMidLoop = 0;
        auto *rng = QRandomGenerator::global();
        for (int trial = 0; trial < trials; ++trial) {
            QProcess child;
            QVERIFY(startChild(child));
            // Half the kills hit the first save, half a later one.
            if (trial % 2 == 1) {
                while (!child.canReadLine()) {
                    if (!child.waitForReadyRead(30000)) {
                        const QStringList files = QDir(dir->path()).entryList(QDir::Files | QDir::Hidden);
                        for (const QString &f : files)
                            qWarning("%s: %lld bytes: %s", qPrintable(f), QFileInfo(dir->filePath(f)).size(),
                                     f.endsWith(QLatin1String(".lock")) ? StateDir::read(dir->filePath(f)).toHex().constData() : "");
                        QFAIL("the writer made no progress");
                    }
                }
            }
            QTest::qSleep(1 + int(rng->bounded(int(saveMs + 1))));
            QVERIFY(kill(child));

            const QList<QByteArray> lines = child.readAllStandardOutput().split('\n');
            int lastDone = previous;
            for (const QByteArray &line : lines) {
                if (!line.trimmed().isEmpty())
                    lastDone = line.trimmed().toInt();
            }
            if (lastDone != previous)
                ++killedMidLoop;
            const int gen = checkGeneration(dir->path(), &why);
            QVERIFY2(gen >= 0, qPrintable(QStringLiteral("trial %1: %2").arg(trial).arg(why)));
            QVERIFY2(gen == lastDone || gen == lastDone + 1,
                     qPrintable(QStringLiteral("trial %1: file holds %2, last finished save %3")
                                    .arg(trial).arg(gen).arg(lastDone)));
            previous = gen;
        }
        qInfo("%d kills, %d after at least one finished save, one save about %lld ms, "
              "file at generation %d", trials, killedMidLoop, saveMs, previous);
        QVERIFY(killedMidLoop >= trials / 2);
    }

    void staleLockIsRecovered_data()
    {
        // Each lock is fresh, so QLockFile alone would wait out its stale time
        // (an unreadable one) or wait for the "<lock>.rmlock" chain that guards
        // stale-lock removal, as a writer killed during that removal leaves it.
        QTest::addColumn<QByteArray>("lockContent");
        QTest::addColumn<bool>("rmlockChain");
        const QByteArray dead = "%PID%\nvurn\n" + QSysInfo::machineHostName().toUtf8() + "\n";
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("garbled") << QByteArray("\x01\x02not a lock") << false;
        QTest::newRow("dead pid") << dead << false;
        QTest::newRow("dead pid, removal killed") << dead << true;
        QTest::newRow("empty, removal killed") << QByteArray() << true;
    }
    void staleLockIsRecovered()
    {
        QFETCH(QByteArray, lockContent);
        QFETCH(bool, rmlockChain);
        // The pid of a process that has just ended.
        QProcess ended;
        ended.start(QStringLiteral("true"), QStringList());
        QVERIFY(ended.waitForStarted());
        const QByteArray deadPid = QByteArray::number(ended.processId());
        QVERIFY(ended.waitForFinished());
        const QString lockPath = iniPath() + QStringLiteral(".lock");
        StateDir::write(lockPath, QByteArray(lockContent).replace("%PID%", deadPid));
        if (rmlockChain) {
            StateDir::write(lockPath + QStringLiteral(".rmlock"),
                      deadPid + "\nvurn\n" + QSysInfo::machineHostName().toUtf8() + "\n");
            StateDir::write(lockPath + QStringLiteral(".rmlock.rmlock"), QByteArray());
        }
        // Saved in a child so that a hang fails this test instead of stopping the run.
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--save-once"), dir->path()});
        QVERIFY(child.waitForStarted());
        const bool finished = child.waitForFinished(20000);
        if (!finished) {
            child.kill();
            child.waitForFinished();
        }
        QVERIFY2(finished, "the save waited on a stale lock");
        QCOMPARE(child.exitCode(), 0);
        SettingsReader reader(dir->path());
        QCOMPARE(reader.settings.loadVolume(), 33);
        QVERIFY(!QFileInfo::exists(lockPath));
        QVERIFY(!QFileInfo::exists(lockPath + QStringLiteral(".rmlock")));
        QVERIFY(!QFileInfo::exists(lockPath + QStringLiteral(".rmlock.rmlock")));
    }
};

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "--save-loop") == 0) {
        QCoreApplication app(argc, argv);
        return runSaveLoop(QString::fromLocal8Bit(argv[2]));
    }
    if (argc >= 3 && qstrcmp(argv[1], "--save-once") == 0) {
        QCoreApplication app(argc, argv);
        return runSaveOnce(QString::fromLocal8Bit(argv[2]));
    }
    QCoreApplication app(argc, argv);
    tst_vurnSettingsDurability test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_vurnsettingsdurability.moc"
