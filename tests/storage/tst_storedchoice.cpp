// Stored texts and the words they are shown with: shown in the language of
// the catalogue, read back from the choosers as the stored Japanese.
#include "storage/storedchoice.h"

#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "alarm/setwindowcore.h"
#include "support/languagerig.h"

#include <QComboBox>
#include <QTableWidget>
#include <QTest>

class tst_StoredChoice : public QObject
{
    Q_OBJECT

private slots:
    void shown_data();
    void shown();
    void alarmTableKeepsStoredTexts_data();
    void alarmTableKeepsStoredTexts();
};

void tst_StoredChoice::shown_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("english");
    QTest::newRow("no repeat") << "リピートなし" << "No repeat";
    QTest::newRow("repeat backwards") << "全曲リピート(<<)" << "Repeat all (<<)";
    QTest::newRow("random once") << "リピートなし：ランダム" << "No repeat: random";
    QTest::newRow("from track 12") << "リピートなし：12" << "No repeat: from 12";
    QTest::newRow("numbered, no number") << "リピートなし：" << "リピートなし：";
    QTest::newRow("numbered, not a number") << "リピートなし：x1" << "リピートなし：x1";
    QTest::newRow("no change") << "しない" << "None";
    QTest::newRow("fade, one minute") << "フェードイン：1分" << "Fade in: 1 minute";
    QTest::newRow("fade, ten minutes") << "フェードイン：10分" << "Fade in: 10 minutes";
    QTest::newRow("fade without a unit") << "フェードイン：3" << "フェードイン：3";
    QTest::newRow("standard playlist") << "標準プレイリスト" << "Standard playlist";
    QTest::newRow("a volume") << "55" << "55";
    QTest::newRow("a saved playlist's name") << "シャッフル " << "シャッフル ";
}

void tst_StoredChoice::shown()
{
    QFETCH(QString, stored);
    QCOMPARE(storedChoice::shown(stored), stored);
    const LanguageRig language(uiLanguage::English);
    QVERIFY(language.isShown());
    QTEST(storedChoice::shown(stored), "english");
}

void tst_StoredChoice::alarmTableKeepsStoredTexts_data()
{
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("shownMode");
    QTest::newRow("Japanese") << false << "リピートなし：3";
    QTest::newRow("English") << true << "No repeat: from 3";
}

void tst_StoredChoice::alarmTableKeepsStoredTexts()
{
    QFETCH(bool, english);
    const LanguageRig language(english ? uiLanguage::English : uiLanguage::Japanese);
    QVERIFY(language.isShown());
    QTableWidget table(0, 16);
    setWindowCore core;
    core.setTable(&table);
    core.setTrackList(QVector<musicInfo *>(4, nullptr).toList());
    auto *alarms = new alarmList;
    auto *alarm = new alarmOne(alarms);
    alarm->hour = QStringLiteral("06");
    alarm->minute = QStringLiteral("30");
    alarm->playListName = storedChoice::standardPlayList();
    alarm->playMode = storedChoice::noRepeatFrom(3);
    alarm->volume = QStringLiteral("40");
    alarm->volumeControl = storedChoice::fadeIn(4);
    alarms->append(alarm);
    core.replaceAlarmList(alarms);
    core.fillTable();
    QTEST(qobject_cast<QComboBox *>(table.cellWidget(0, 11))->currentText(), "shownMode");
    core.readTable();
    const alarmOne *read = core.alarms->at(0);
    QCOMPARE(read->playListName, QStringLiteral("標準プレイリスト"));
    QCOMPARE(read->playMode, QStringLiteral("リピートなし：3"));
    QCOMPARE(read->volume, QStringLiteral("40"));
    QCOMPARE(read->volumeControl, QStringLiteral("フェードイン：4分"));
}

QTEST_MAIN(tst_StoredChoice)
#include "tst_storedchoice.moc"
