#include "playlistfiles/plsplaylist.h"

#include <QMap>
#include <QRegularExpression>
#include <QStringList>

void plsPlaylist::read(const QString &path, const QByteArray &bytes, playlistReading &reading) const
{
    static const QRegularExpression fileKey(QStringLiteral("^File(\\d+)=(.*)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QMap<int, QString> entries;
    for (const QString &raw : decode(bytes).split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = fileKey.match(raw.trimmed());
        if (match.hasMatch())
            entries.insert(match.captured(1).toInt(), match.captured(2).trimmed());
    }
    for (const QString &entry : qAsConst(entries))
        addEntry(path, entry, reading);
}
