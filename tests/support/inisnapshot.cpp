#include "support/inisnapshot.h"

#include <QFile>
#include <QTemporaryDir>

QString IniSnapshot::of(const QString &path)
{
    static QTemporaryDir folder;
    static int taken = 0;
    const QString copy = folder.filePath(QStringLiteral("snapshot%1.ini").arg(++taken));
    QFile::copy(path, copy);
    return copy;
}
