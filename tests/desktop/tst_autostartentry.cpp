// The login entry: written and removed with the option, valid for the
// desktop's validator, its command naming the player and the tray switch.
#include "desktop/autostartentry.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_autostartEntry : public QObject
{
    Q_OBJECT
private slots:
    void writtenValidAndRemoved_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("execLine");
        QTest::newRow("installed") << "/usr/bin/vurn" << "Exec=/usr/bin/vurn --tray";
        QTest::newRow("space in the folder") << "/home/a b/vurn" << "Exec=\"/home/a b/vurn\" --tray";
        QTest::newRow("shell characters") << "/opt/$x\"y/vurn" << "Exec=\"/opt/\\\\$x\\\\\"y/vurn\" --tray";
        QTest::newRow("percent") << "/opt/100%/vurn" << "Exec=/opt/100%%/vurn --tray";
    }
    void writtenValidAndRemoved()
    {
        QFETCH(QString, executable);
        QFETCH(QString, execLine);
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/autostart");
        autostartEntry entry(folder);
        QVERIFY(!entry.isEnabled());

        QVERIFY(entry.setEnabled(true, executable));
        QVERIFY(entry.isEnabled());
        QFile file(entry.filePath());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        QVERIFY2(lines.contains(execLine), qPrintable(lines.join(QLatin1Char('|'))));

        QProcess validate;
        validate.start(QStringLiteral("desktop-file-validate"), {entry.filePath()});
        QVERIFY(validate.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(validate.readAllStandardOutput() + validate.readAllStandardError()), QString());
        QCOMPARE(validate.exitCode(), 0);

        QVERIFY(entry.setEnabled(false, executable));
        QVERIFY(!QFile::exists(entry.filePath()));
        QVERIFY(!entry.isEnabled());
        QVERIFY(entry.setEnabled(false, executable)); // nothing there: still fine
    }

    // A desktop's session settings switch the entry off without deleting it.
    void switchedOffByTheDesktop()
    {
        QTemporaryDir dir;
        autostartEntry entry(dir.path());
        QVERIFY(entry.setEnabled(true, QStringLiteral("/usr/bin/vurn")));
        QFile file(entry.filePath());
        QVERIFY(file.open(QIODevice::Append));
        file.write("Hidden=true\n");
        file.close();
        QVERIFY(!entry.isEnabled());
    }
};

QTEST_GUILESS_MAIN(tst_autostartEntry)
#include "tst_autostartentry.moc"
