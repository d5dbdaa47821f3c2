#include "storage/statefolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

QString &overrideFolder()
{
    static QString dir;
    return dir;
}

} // namespace

QString stateFolders::settingsFolder()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return choose(QCoreApplication::applicationDirPath(),
                  QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}

QString stateFolders::playlistParent()
{
    if (!overrideFolder().isEmpty())
        return overrideFolder();
    return choose(QCoreApplication::applicationDirPath(),
                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

void stateFolders::setOverride(const QString &dir)
{
    overrideFolder() = dir;
}

bool stateFolders::isPortableProgramFolder(const QString &programDir)
{
    // A build tree is recognised by CMake's cache beside the executable.
    const QDir dir(programDir);
    for (const char *name : {"Vurn.ini", "portable", "CMakeCache.txt"}) {
        if (dir.exists(QLatin1String(name)))
            return true;
    }
    return false;
}

QString stateFolders::choose(const QString &programDir, const QString &userDir)
{
    if (!programDir.isEmpty() && isPortableProgramFolder(programDir) && canCreateFilesIn(programDir))
        return programDir;
    QDir().mkpath(userDir);
    return userDir;
}

bool stateFolders::canCreateFilesIn(const QString &dir)
{
    // Permission bits say nothing about read-only mounts or privileged users;
    // creating a file is the honest test.
    if (!QFileInfo(dir).isDir())
        return false;
    QTemporaryFile probe(dir + QStringLiteral("/.vurn-write-probe-XXXXXX"));
    return probe.open();
}
