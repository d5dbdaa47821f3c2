// Where the file dialogs open: the folder used last while it exists, else
// the desktop's music folder, else home, with a private home and
// configuration; and the last folder kept in "Vurn.ini" across a restart.
#include "storage/filedialogfolder.h"
#include "storage/vurnsettings.h"
#include "support/statedir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class tst_FileDialogFolder : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void startFolder_data();
    void startFolder();
    void remembersTheChosenFolder();
    void keptInStateFile();

private:
    QTemporaryDir home;
    QByteArray savedHome;
    QByteArray savedConfig;
};

void tst_FileDialogFolder::initTestCase()
{
    savedHome = qgetenv("HOME");
    savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
    QVERIFY(QDir().mkpath(home.filePath(QStringLiteral(".config"))));
}

void tst_FileDialogFolder::cleanupTestCase()
{
    qputenv("HOME", savedHome);
    if (savedConfig.isEmpty())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", savedConfig);
}

void tst_FileDialogFolder::startFolder_data()
{
    // Folders are named relative to home; "" is home itself.
    QTest::addColumn<QString>("musicDirLine"); // in user-dirs.dirs; empty: none
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("expected");
    const QString named = QStringLiteral("XDG_MUSIC_DIR=\"$HOME/音楽\"");
    QTest::newRow("last used") << named << QStringList{"音楽", "曲/アルバム"} << "曲/アルバム" << "曲/アルバム";
    QTest::newRow("last used is gone") << named << QStringList{"音楽"} << "曲/アルバム" << "音楽";
    QTest::newRow("never used: the music folder") << named << QStringList{"音楽"} << "" << "音楽";
    QTest::newRow("music folder missing") << named << QStringList{"Music"} << "" << "";
    QTest::newRow("not named: ~/Music") << QString() << QStringList{"Music"} << "" << "Music";
    QTest::newRow("nothing at all") << QString() << QStringList() << "" << "";
}

void tst_FileDialogFolder::startFolder()
{
    QFETCH(QString, musicDirLine);
    QFETCH(QStringList, existing);
    QFETCH(QString, last);
    QFETCH(QString, expected);
    QDir root(home.path());
    for (const QString &name : {QStringLiteral("音楽"), QStringLiteral("Music"), QStringLiteral("曲")})
        QDir(root.filePath(name)).removeRecursively();
    for (const QString &folder : existing)
        QVERIFY(root.mkpath(folder));
    const QString dirs = home.filePath(QStringLiteral(".config/user-dirs.dirs"));
    QFile::remove(dirs);
    if (!musicDirLine.isEmpty())
        StateDir::write(dirs, musicDirLine.toUtf8() + '\n');

    const fileDialogFolder folder(last.isEmpty() ? QString() : root.filePath(last));
    const QString wanted = expected.isEmpty() ? root.path() : root.filePath(expected);
    QCOMPARE(QDir(folder.startFolder()).canonicalPath(), QDir(wanted).canonicalPath());
    QCOMPARE(folder.startPath(QStringLiteral("朝.m3u8")), QDir(folder.startFolder()).filePath(QStringLiteral("朝.m3u8")));
}

void tst_FileDialogFolder::remembersTheChosenFolder()
{
    QDir root(home.path());
    QVERIFY(root.mkpath(QStringLiteral("選んだ")));
    fileDialogFolder folder;
    folder.remember(root.filePath(QStringLiteral("選んだ/曲.flac")));
    QCOMPARE(folder.lastUsed(), root.filePath(QStringLiteral("選んだ")));
    folder.remember(root.filePath(QStringLiteral("選んだ")));
    QCOMPARE(folder.lastUsed(), root.filePath(QStringLiteral("選んだ")));
    folder.remember(QString()); // a cancelled dialog
    QCOMPARE(folder.lastUsed(), root.filePath(QStringLiteral("選んだ")));
    QCOMPARE(folder.startFolder(), root.filePath(QStringLiteral("選んだ")));
}

void tst_FileDialogFolder::keptInStateFile()
{
    StateDir state;
    // A file from before the key existed reads as no folder used yet.
    StateDir::write(state.filePath(QStringLiteral("Vurn.ini")), "[General]\nVolume=40\n");
    const QString folder = home.filePath(QStringLiteral("a, b/曲"));
    {
        vurnSettings settings;
        QString name = QStringLiteral("Vurn");
        settings.openFile(name);
        QCOMPARE(settings.loadLastFolder(), QString());
        QCOMPARE(settings.loadVolume(), 40);
        settings.saveLastFolder(folder);
        settings.sync();
    }
    vurnSettings settings;
    QString name = QStringLiteral("Vurn");
    settings.openFile(name);
    QCOMPARE(settings.loadLastFolder(), folder);
}

QTEST_MAIN(tst_FileDialogFolder)
#include "tst_filedialogfolder.moc"
