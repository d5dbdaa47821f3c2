// Portable copies keep their state beside the executable; installed ones in
// the user's folders, whoever runs them.
#include "storage/statefolders.h"
#include "storage/vurnsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class tst_StateFolders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void choice_data();
    void choice();
    void unwritablePortableFolder();
    void playlistsApartFromSettingsWhenInstalled();
};

void tst_StateFolders::choice_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<bool>("portable");
    QTest::newRow("installed: nothing beside the executable") << QString() << false;
    QTest::newRow("an existing Vurn.ini") << "Vurn.ini" << true;
    QTest::newRow("a portable marker") << "portable" << true;
    QTest::newRow("a build tree") << "CMakeCache.txt" << true;
    QTest::newRow("another ini is no marker") << "Other.ini" << false;
}

void tst_StateFolders::choice()
{
    QFETCH(QString, marker);
    QFETCH(bool, portable);
    QTemporaryDir program;
    QTemporaryDir home;
    const QString user = home.filePath(QStringLiteral("config/Vurn"));
    if (!marker.isEmpty()) {
        QFile file(program.filePath(marker));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    // A writable program folder (as root in a system folder) is not enough.
    QCOMPARE(stateFolders::choose(program.path(), user), portable ? program.path() : user);
    QCOMPARE(QFileInfo(user).isDir(), !portable);
    // Nothing is left behind by the probe for writability.
    QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             marker.isEmpty() ? QStringList() : QStringList{marker});
}

void tst_StateFolders::unwritablePortableFolder()
{
    QTemporaryDir home;
    const QString user = home.filePath(QStringLiteral("config/Vurn"));
    // Even a privileged user cannot create files in /proc.
    QCOMPARE(stateFolders::choose(QStringLiteral("/proc"), user), user);
    QCOMPARE(stateFolders::choose(home.filePath(QStringLiteral("missing")), user), user);

    // A marked folder without write permission: falls back, unless this
    // process can write there anyway (root), in which case it stays.
    QTemporaryDir program;
    QFile marker(program.filePath(QStringLiteral("portable")));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    QVERIFY(QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    QFile probe(program.filePath(QStringLiteral("probe")));
    const bool writableAnyway = probe.open(QIODevice::WriteOnly);
    probe.close();
    probe.remove();
    QCOMPARE(stateFolders::choose(program.path(), user), writableAnyway ? program.path() : user);
    QVERIFY(QFile::setPermissions(program.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
}

void tst_StateFolders::playlistsApartFromSettingsWhenInstalled()
{
    // The test executable's folder holds no marker: it stands for an
    // installed copy.
    QVERIFY(!stateFolders::isPortableProgramFolder(QCoreApplication::applicationDirPath()));
    stateFolders::setOverride(QString());
    QCOMPARE(stateFolders::settingsFolder(), QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    QCOMPARE(stateFolders::playlistParent(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QVERIFY(stateFolders::settingsFolder() != stateFolders::playlistParent());

    // Saving goes to the two folders.
    QString main;
    QString saved = QStringLiteral("playlists/朝");
    {
        vurnSettings settings;
        settings.openFile(main);
        QCOMPARE(QFileInfo(settings.filePath).absolutePath(), stateFolders::settingsFolder());
        vurnSettings playlist;
        playlist.openFile(saved);
        QCOMPARE(playlist.filePath, stateFolders::playlistParent() + QStringLiteral("/playlists/朝.ini"));
    }

    QTemporaryDir dir;
    stateFolders::setOverride(dir.path());
    QCOMPARE(stateFolders::settingsFolder(), dir.path());
    QCOMPARE(stateFolders::playlistParent(), dir.path());
    stateFolders::setOverride(QString());
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).removeRecursively();
    QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
}

QTEST_MAIN(tst_StateFolders)
#include "tst_statefolders.moc"
