#include "storage/filedialogfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

fileDialogFolder::fileDialogFolder(const QString &lastUsed) : last(lastUsed)
{
}

QString fileDialogFolder::fallback()
{
    // Without a music folder named by the desktop this is ~/Music, which
    // may not exist either.
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QFileInfo(music).isDir())
        return music;
    return QDir::homePath();
}

QString fileDialogFolder::startFolder() const
{
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return fallback();
}

QString fileDialogFolder::startPath(const QString &fileName) const
{
    return QDir(startFolder()).filePath(fileName);
}

void fileDialogFolder::remember(const QString &chosen)
{
    if (chosen.isEmpty())
        return;
    const QFileInfo info(chosen);
    last = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}
