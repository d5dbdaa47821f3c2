// The read-me and the about page shipped beside the executable.
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextCodec>

class tst_Resources : public QObject
{
    Q_OBJECT

private slots:
    void files_data();
    void files();
};

void tst_Resources::files_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("mentions");
    QTest::newRow("read-me") << "Vurn.txt"
                             << QStringList{"アラーム", "フェードイン", "一括設定", "Vurn.ini",
                                            "playlists", "~/.config/Vurn/"};
    QTest::newRow("about page") << "Vurn.html"
                                << QStringList{"<meta charset=\"utf-8\">", "アラーム",
                                               "~/.config/Vurn/"};
}

void tst_Resources::files()
{
    QFETCH(QString, name);
    QFETCH(QStringList, mentions);
    const QString path = QFINDTESTDATA("../../resources/" + name);
    QVERIFY2(!path.isEmpty(), qPrintable(name));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));

    QTextCodec::ConverterState state;
    const QString text = QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    QCOMPARE(state.invalidChars, 0);
    for (const QString &mention : mentions)
        QVERIFY2(text.contains(mention), qPrintable(mention));
    // A local page: nothing is fetched from or linked to the network.
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("(https?|ftp)://"))));
}

QTEST_MAIN(tst_Resources)
#include "tst_resources.moc"
