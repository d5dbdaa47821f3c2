// The language the player shows, from the desktop's list of languages, and
// from the environment as the installed program reads it at start.
#include "app/uilanguage.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

class tst_UiLanguage : public QObject
{
    Q_OBJECT

private slots:
    void choose_data();
    void choose();
    void programStartsIn_data();
    void programStartsIn();
};

void tst_UiLanguage::choose_data()
{
    QTest::addColumn<QStringList>("preferred");
    QTest::addColumn<int>("expected");
    const int ja = uiLanguage::Japanese;
    const int en = uiLanguage::English;
    // As QLocale::uiLanguages gives them for these environments.
    QTest::newRow("ja_JP") << QStringList{"ja-JP", "ja", "ja-Jpan-JP"} << ja;
    QTest::newRow("en_US") << QStringList{"en-US", "en", "en-Latn-US"} << en;
    QTest::newRow("de_DE") << QStringList{"de-DE", "de", "de-Latn-DE"} << en;
    QTest::newRow("C") << QStringList{"C"} << ja;
    QTest::newRow("POSIX") << QStringList{"POSIX"} << ja;
    QTest::newRow("nothing") << QStringList{} << ja;
    QTest::newRow("empty name") << QStringList{""} << ja;
    QTest::newRow("LANGUAGE=fr:ja") << QStringList{"fr", "fr-FR", "fr-Latn-FR", "ja", "ja-JP", "ja-Jpan-JP"} << ja;
    QTest::newRow("LANGUAGE=xx:ja") << QStringList{"xx", "C", "ja", "ja-JP", "ja-Jpan-JP"} << ja;
    QTest::newRow("LANGUAGE=de:en:ja") << QStringList{"de", "en", "ja"} << en;
    QTest::newRow("unknown locale xx_YY") << QStringList{"xx-YY", "C"} << en;
    QTest::newRow("raw ja_JP.UTF-8") << QStringList{"ja_JP.UTF-8"} << ja;
    QTest::newRow("upper case EN") << QStringList{"EN"} << en;
    QTest::newRow("Javanese is not Japanese") << QStringList{"jv-ID"} << en;
    QTest::newRow("C, then English") << QStringList{"C", "en-GB"} << en;
}

void tst_UiLanguage::choose()
{
    QFETCH(QStringList, preferred);
    QFETCH(int, expected);
    QCOMPARE(int(uiLanguage::choose(preferred)), expected);
}

void tst_UiLanguage::programStartsIn_data()
{
    QTest::addColumn<QString>("lang");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("lcAll");
    QTest::addColumn<bool>("english");
    QTest::newRow("ja_JP") << "ja_JP.UTF-8" << "" << "" << false;
    QTest::newRow("en_US") << "en_US.UTF-8" << "" << "" << true;
    QTest::newRow("de_DE") << "de_DE.UTF-8" << "" << "" << true;
    QTest::newRow("C") << "C" << "" << "" << false;
    QTest::newRow("C.UTF-8") << "C.UTF-8" << "" << "" << false;
    QTest::newRow("LANGUAGE=fr:ja") << "fr_FR.UTF-8" << "fr:ja" << "" << false;
    QTest::newRow("LANGUAGE=xx:ja") << "en_US.UTF-8" << "xx:ja" << "" << false;
    QTest::newRow("LC_ALL over LANG") << "ja_JP.UTF-8" << "" << "de_DE.UTF-8" << true;
    QTest::newRow("unknown locale") << "xx_YY.UTF-8" << "" << "" << true;
}

void tst_UiLanguage::programStartsIn()
{
    QFETCH(QString, lang);
    QFETCH(QString, language);
    QFETCH(QString, lcAll);
    QFETCH(bool, english);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.remove(QLatin1String(name));
    environment.insert(QStringLiteral("LANG"), lang);
    if (!language.isEmpty())
        environment.insert(QStringLiteral("LANGUAGE"), language);
    if (!lcAll.isEmpty())
        environment.insert(QStringLiteral("LC_ALL"), lcAll);
    QProcess vurn;
    vurn.setProcessEnvironment(environment);
    vurn.start(QString::fromLocal8Bit(qgetenv("VURN_TEST_BINARY_DIR")) + QStringLiteral("/vurn"),
               {QStringLiteral("--help")});
    QVERIFY(vurn.waitForFinished(120000));
    QCOMPARE(vurn.exitCode(), 0);
    const QString help = QString::fromUtf8(vurn.readAllStandardOutput());
    // The program's own words and Qt's beside them, in the same language.
    const QStringList expected = english
        ? QStringList{"Vurn: a music player with an alarm clock", "Start in the tray", "Usage:"}
        : QStringList{"Vurn：アラーム時計つきの音楽プレーヤー", "トレイで起動する", "使い方:"};
    for (const QString &text : expected)
        QVERIFY2(help.contains(text), qPrintable(help));
}

QTEST_MAIN(tst_UiLanguage)
#include "tst_uilanguage.moc"
