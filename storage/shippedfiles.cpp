#include "storage/shippedfiles.h"

#include <QCoreApplication>
#include <QFileInfo>

QString shippedFiles::find(const QString &name)
{
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {programDir + QLatin1Char('/') + name,
                                    programDir + QStringLiteral("/../share/vurn/") + name};
    for (const QString &candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile())
            return info.canonicalFilePath();
    }
    return QString();
}
