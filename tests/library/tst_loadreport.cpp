// One box per command for the files it could not read.
#include "library/loadreport.h"
#include "support/modalanswerer.h"

#include <QApplication>
#include <QTest>

class tst_LoadReport : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void showsOneBoxOrNone();
};

void tst_LoadReport::text_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<QStringList>("contains");
    QTest::addColumn<QStringList>("lacks");
    QTest::newRow("one file keeps the single-file text")
        << 1 << QStringList{"ファイル情報が読み取れませんでした。\n/m/1.mp3\n\nreason 1"} << QStringList{"個"};
    QTest::newRow("a few: count and every path")
        << 3 << QStringList{"3 個のファイル", "/m/1.mp3\n    reason 1", "/m/3.mp3\n    reason 3"}
        << QStringList{"ほか"};
    QTest::newRow("ten: all listed") << 10 << QStringList{"10 個", "/m/10.mp3"} << QStringList{"ほか"};
    QTest::newRow("many: the first ten and the rest counted")
        << 1500 << QStringList{"1500 個", "/m/1.mp3", "/m/10.mp3", "ほか 1490 個"}
        << QStringList{"/m/11.mp3", "/m/1500.mp3"};
}

void tst_LoadReport::text()
{
    QFETCH(int, files);
    QFETCH(QStringList, contains);
    QFETCH(QStringList, lacks);
    loadReport report;
    for (int i = 1; i <= files; ++i)
        report.add(QStringLiteral("/m/%1.mp3").arg(i), QStringLiteral("reason %1").arg(i));
    QCOMPARE(report.count(), files);
    QCOMPARE(report.title(), QStringLiteral("ファイル読み込みエラー"));
    const QString text = report.text();
    for (const QString &part : contains)
        QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" not in:\n") + text));
    for (const QString &part : lacks)
        QVERIFY2(!text.contains(part), qPrintable(part + QStringLiteral(" in:\n") + text));
}

void tst_LoadReport::showsOneBoxOrNone()
{
    loadReport empty;
    QVERIFY(!empty.show(nullptr));

    loadReport report;
    for (int i = 0; i < 20; ++i)
        report.add(QStringLiteral("/m/%1.jpg").arg(i), QStringLiteral("no"));
    ModalAnswerer answerer(QMessageBox::Ok, 1000);
    answerer.keepAnswering = true;
    answerer.arm();
    QVERIFY(report.show(nullptr));
    // Back before it is answered: no event loop of its own runs the caller's
    // timers (an alarm, the desktop's calls) inside the work that showed it.
    QVERIFY(!answerer.answered);
    QVERIFY(qobject_cast<QMessageBox *>(QApplication::activeModalWidget()));
    QTest::qWait(300);
    QCOMPARE(answerer.count, 1);
    QCOMPARE(answerer.icon, QMessageBox::Warning);
    QCOMPARE(answerer.text, report.text());
}

QTEST_MAIN(tst_LoadReport)
#include "tst_loadreport.moc"
