#include "alarm/alarmlist.h"
#include "alarm/alarmliststore.h"
#include "alarm/alarmone.h"
#include "storage/vurnsettings.h"
#include "support/inisnapshot.h"
#include "support/settingsreader.h"
#include "support/statedir.h"

#include <QSettings>
#include <QTest>

#include <memory>

namespace {

QString weekText(const alarmOne *alarm)
{
    QString text;
    for (bool day : alarm->week)
        text += day ? QLatin1Char('1') : QLatin1Char('0');
    return text;
}

} // namespace

class tst_alarmListStore : public QObject
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

    void loadAlarmList_data()
    {
        QTest::addColumn<QByteArray>("ini");
        QTest::addColumn<int>("count");
        // Fields of the first alarm read, when there is one.
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("hour");
        QTest::addColumn<QString>("minute");
        QTest::addColumn<QString>("week"); // Monday .. Sunday
        QTest::addColumn<QString>("playMode");

        QTest::newRow("Alarm0 and Alarm2") << QByteArray("[Alarm0]\nPlayList=標準プレイリスト\n[Alarm2]\nPlayList=標準プレイリスト\n")
                                           << 1 << true << "" << "" << "0000000" << "";
        QTest::newRow("only Enabled true") << QByteArray("[Alarm0]\nEnabled=true\n")
                                           << 0 << true << "" << "" << "" << "";
        QTest::newRow("only Enabled false") << QByteArray("[Alarm0]\nEnabled=false\n")
                                            << 1 << false << "" << "" << "0000000" << "";
        QTest::newRow("week 60") << QByteArray("[Alarm0]\nWeek=60\n")
                                 << 1 << true << "" << "" << "1000001" << "";
        QTest::newRow("week 7x3") << QByteArray("[Alarm0]\nWeek=7x3\n")
                                  << 1 << true << "" << "" << "0001000" << "";
        QTest::newRow("time 7:30") << QByteArray("[Alarm0]\nTime=7:30\n")
                                   << 1 << true << "7:" << "0" << "0000000" << "";
        QTest::newRow("time 07:30") << QByteArray("[Alarm0]\nTime=07:30\n")
                                    << 1 << true << "07" << "30" << "0000000" << "";
        QTest::newRow("time 7") << QByteArray("[Alarm0]\nTime=7\n")
                                << 1 << true << "7" << "" << "0000000" << "";
        QTest::newRow("separator not checked") << QByteArray("[Alarm0]\nTime=12x34567\n")
                                               << 1 << true << "12" << "34" << "0000000" << "";
        QTest::newRow("only FirstPlay true") << QByteArray("[Alarm0]\nFirstPlay=true\n")
                                             << 1 << true << "" << "" << "0000000" << "";
        QTest::newRow("only Interrupt false ends") << QByteArray("[Alarm0]\nInterrupt=false\n")
                                                   << 0 << true << "" << "" << "" << "";
        QTest::newRow("japanese mode") << QByteArray("[Alarm0]\nPlayMode=リピートなし：3\n[Alarm1]\nVolume=50\n")
                                       << 2 << true << "" << "" << "0000000" << QStringLiteral("リピートなし：3");
    }
    void loadAlarmList()
    {
        QFETCH(QByteArray, ini);
        QFETCH(int, count);
        StateDir::write(iniPath(), ini);
        SettingsReader reader(dir->path());
        alarmList *alarms = alarmListStore::load(reader.settings);
        QCOMPARE(alarms->size(), count);
        for (const alarmOne *alarm : *alarms)
            QCOMPARE(alarm->parent(), alarms);
        if (count == 0)
            return;
        const alarmOne *first = alarms->at(0);
        QTEST(first->enabled, "enabled");
        QTEST(first->hour, "hour");
        QTEST(first->minute, "minute");
        QTEST(weekText(first), "week");
        QTEST(first->playMode, "playMode");
    }

    void alarmRoundTrip()
    {
        // An alarm read from a hand-written file is saved in the normal form.
        StateDir::write(iniPath(), "[Alarm0]\nTime=07:30\nWeek=60\nEnabled=false\n"
                             "[Alarm1]\nTime=23:05\nWeek=2\nPlayList=朝\nPlayMode=シャッフル\nFirstPlay=true\n"
                             "Interrupt=true\nVolume=しない\nVolumeControl=フェードイン：10分\n");
        {
            vurnSettings settings;
            QString name = QStringLiteral("Vurn");
            settings.openFile(name);
            alarmList *alarms = alarmListStore::load(settings);
            QCOMPARE(alarms->size(), 2);
            settings.clearAll();
            alarmListStore::save(settings, alarms);
            settings.sync();
        }
        QSettings raw(IniSnapshot::of(iniPath()), QSettings::IniFormat);
        raw.setIniCodec("UTF-8");
        QCOMPARE(raw.value(QStringLiteral("Alarm0/Week")).toString(), QStringLiteral("06"));
        QCOMPARE(raw.value(QStringLiteral("Alarm0/Time")).toString(), QStringLiteral("07:30"));
        QCOMPARE(raw.value(QStringLiteral("Alarm0/PlayList")).toString(), QStringLiteral("標準プレイリスト"));
        QCOMPARE(raw.value(QStringLiteral("Alarm0/Enabled")).toBool(), false);

        SettingsReader reader(dir->path());
        alarmList *alarms = alarmListStore::load(reader.settings);
        QCOMPARE(alarms->size(), 2);
        const alarmOne *a = alarms->at(1);
        QCOMPARE(a->enabled, true);
        QCOMPARE(a->hour, QStringLiteral("23"));
        QCOMPARE(a->minute, QStringLiteral("05"));
        QCOMPARE(weekText(a), QStringLiteral("0010000"));
        // A saved playlist's name stays the alarm's.
        QCOMPARE(a->playListName, QStringLiteral("朝"));
        QCOMPARE(a->playMode, QStringLiteral("シャッフル"));
        QCOMPARE(a->firstPlay, true);
        QCOMPARE(a->interrupt, true);
        QCOMPARE(a->volume, QStringLiteral("しない"));
        QCOMPARE(a->volumeControl, QStringLiteral("フェードイン：10分"));
        QCOMPARE(weekText(alarms->at(0)), QStringLiteral("1000001"));
        QCOMPARE(alarms->at(0)->enabled, false);
    }
};

QTEST_GUILESS_MAIN(tst_alarmListStore)
#include "tst_alarmliststore.moc"
