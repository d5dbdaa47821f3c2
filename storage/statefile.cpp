#include "storage/statefile.h"

#include "library/musicinfo.h"
#include "library/textpool.h"
#include "storage/initext.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <climits>

namespace {

// The playlist texts handed to the next write of each file, by absolute path.
QMutex pendingMutex;
QHash<QString, QByteArray> pendingTexts;
QSet<QString> takenPaths;

QString pathKey(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

// "0", "1", … "12": the groups the playlist is read from. A name with a
// leading zero is not one (QString::number never writes it).
bool isPlaylistGroup(const char *d, int length)
{
    while (length > 0 && (*d == ' ' || *d == '\t')) {
        ++d;
        --length;
    }
    while (length > 0 && (d[length - 1] == ' ' || d[length - 1] == '\t'))
        --length;
    if (length < 1 || length > 9 || (d[0] == '0' && length > 1))
        return false;
    return std::all_of(d, d + length, [](char c) { return c >= '0' && c <= '9'; });
}

// A section header line "[name]": where its name lies; false for another line.
bool sectionHeader(const QByteArray &data, int lineStart, int lineLen, int &nameStart, int &nameLen)
{
    if (data.at(lineStart) != '[')
        return false;
    nameStart = lineStart + 1;
    const int close = data.indexOf(']', nameStart);
    nameLen = (close < 0 || close >= lineStart + lineLen) ? lineLen - 1 : close - nameStart;
    return true;
}

struct Section
{
    int number;
    int bodyStart; // first byte after the header line
    int bodyEnd;   // where the next header starts
};

// The playlist groups of the text in file order, and where each one's text
// (header included) starts, for copying them unchanged.
QVector<Section> playlistSections(const QByteArray &data, QVector<int> *headerStarts = nullptr)
{
    QVector<Section> sections;
    int pos = 0, lineStart = 0, lineLen = 0, equalsPos = 0;
    bool inPlaylist = false;
    while (iniText::nextLine(data, pos, lineStart, lineLen, equalsPos)) {
        int nameStart = 0, nameLen = 0;
        if (!sectionHeader(data, lineStart, lineLen, nameStart, nameLen))
            continue;
        if (inPlaylist)
            sections.last().bodyEnd = lineStart;
        inPlaylist = isPlaylistGroup(data.constData() + nameStart, nameLen);
        if (inPlaylist) {
            sections.append(Section{QByteArray::fromRawData(data.constData() + nameStart, nameLen).trimmed().toInt(),
                                    pos, data.size()});
            if (headerStarts)
                headerStarts->append(lineStart);
        }
    }
    return sections;
}

qint64 number(const QString &text)
{
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok, 10);
    return ok && value >= 0 ? value : qint64(-1);
}

void appendEntry(QByteArray &out, int index, const QString &file, qint64 lengthMsec, const QString &title,
                 const QString &artist, const QString &album, const QString &year, qint64 size,
                 qint64 modified)
{
    // QSettings' order: groups apart by a blank line, keys in name order.
    if (!out.isEmpty())
        out += '\n';
    out += '[';
    out += QByteArray::number(index);
    out += "]\nAlbum=";
    iniText::appendText(out, album);
    out += "\nArtist=";
    iniText::appendText(out, artist);
    out += "\nFile=";
    iniText::appendText(out, file);
    const bool stamped = size >= 0 && modified >= 0;
    if (stamped) {
        out += "\nModified=";
        out += QByteArray::number(modified);
        out += "\nSize=";
        out += QByteArray::number(size);
    }
    out += "\nTime=";
    out += QByteArray::number(uint(qBound<qint64>(0, lengthMsec, INT_MAX)));
    out += "\nTitle=";
    iniText::appendText(out, title);
    out += "\nYear=";
    iniText::appendText(out, year);
    out += '\n';
}

} // namespace

QSettings::Format stateFile::format()
{
    static const QSettings::Format registered =
        QSettings::registerFormat(QStringLiteral("ini"), &stateFile::readValues, &stateFile::writeValues,
                                  Qt::CaseSensitive);
    return registered;
}

QList<storedTrack> stateFile::readPlaylist(const QByteArray &data, bool forShow)
{
    QList<storedTrack> entries;
    QVector<Section> sections = playlistSections(data);
    // The list ends at the first missing group, so only numbers below the
    // count of groups can be reached; a group given twice adds to the first.
    std::stable_sort(sections.begin(), sections.end(),
                     [](const Section &a, const Section &b) { return a.number < b.number; });
    entries.reserve(sections.size());
    // Tracks of one album share its artist, album and year: one copy each.
    textPool shared;
    int at = 0;
    for (int index = 0; at < sections.size() && sections.at(at).number == index; ++index) {
        storedTrack entry;
        QString size, modified, time;
        for (; at < sections.size() && sections.at(at).number == index; ++at) {
            const Section &section = sections.at(at);
            const QByteArray body = QByteArray::fromRawData(data.constData() + section.bodyStart,
                                                            section.bodyEnd - section.bodyStart);
            int pos = 0, lineStart = 0, lineLen = 0, equalsPos = 0;
            while (iniText::nextLine(body, pos, lineStart, lineLen, equalsPos)) {
                if (equalsPos < 0)
                    continue;
                int keyEnd = equalsPos;
                while (keyEnd > lineStart && (body.at(keyEnd - 1) == ' ' || body.at(keyEnd - 1) == '\t'))
                    --keyEnd;
                const QByteArray rawKey = QByteArray::fromRawData(body.constData() + lineStart, keyEnd - lineStart);
                const QString key = rawKey.contains('%') || rawKey.contains('\\')
                    ? iniText::key(rawKey.constData(), rawKey.size())
                    : QString::fromLatin1(rawKey);
                QString *target = nullptr;
                if (key == QLatin1String("File"))
                    target = &entry.file;
                else if (key == QLatin1String("Title"))
                    target = &entry.title;
                else if (key == QLatin1String("Artist"))
                    target = &entry.artist;
                else if (key == QLatin1String("Album"))
                    target = &entry.album;
                else if (key == QLatin1String("Year"))
                    target = &entry.year;
                else if (key == QLatin1String("Time"))
                    target = &time;
                else if (key == QLatin1String("Size"))
                    target = &size;
                else if (key == QLatin1String("Modified"))
                    target = &modified;
                if (target)
                    *target = iniText::stringValue(body.constData() + equalsPos + 1,
                                                   lineStart + lineLen - equalsPos - 1);
            }
        }
        if (entry.file.isEmpty())
            break;
        entry.size = number(size);
        entry.modified = number(modified);
        const bool stamped = entry.size >= 0 && entry.modified >= 0;
        if (stamped || forShow) {
            entry.lengthMsec = number(time);
            shared.share(entry.artist);
            shared.share(entry.album);
            shared.share(entry.year);
        } else {
            // Read again from the file: the kept values are not used.
            entry.size = entry.modified = -1;
            entry.title.clear();
            entry.artist.clear();
            entry.album.clear();
            entry.year.clear();
        }
        entries.append(entry);
    }
    return entries;
}

QByteArray stateFile::playlistText(const QList<storedTrack> &tracks)
{
    QByteArray out;
    out.reserve(tracks.size() * 200);
    int index = 0;
    for (const storedTrack &t : tracks)
        appendEntry(out, index++, t.file, t.lengthMsec, t.title, t.artist, t.album, t.year, t.size, t.modified);
    return out;
}

QByteArray stateFile::playlistText(const QList<musicInfo *> &tracks)
{
    QByteArray out;
    out.reserve(tracks.size() * 200);
    int index = 0;
    for (const musicInfo *t : tracks) {
        if (t)
            appendEntry(out, index++, t->filePath, t->lengthMsec, t->title, t->artist, t->album, t->year,
                        t->fileSize, t->modifiedMsec);
    }
    return out;
}

QByteArray stateFile::groupsText(const QByteArray &data, int first)
{
    QByteArray out;
    QVector<int> headers;
    const QVector<Section> sections = playlistSections(data, &headers);
    for (int i = 0; i < sections.size(); ++i) {
        if (sections.at(i).number < first)
            continue;
        QByteArray text = data.mid(headers.at(i), sections.at(i).bodyEnd - headers.at(i));
        while (text.endsWith('\n') || text.endsWith('\r') || text.endsWith(' ') || text.endsWith('\t'))
            text.chop(1);
        if (!out.isEmpty())
            out += '\n';
        out += text + '\n';
    }
    return out;
}

void stateFile::setPendingPlaylist(const QString &path, const QByteArray &text)
{
    QMutexLocker lock(&pendingMutex);
    pendingTexts.insert(pathKey(path), text);
    takenPaths.remove(pathKey(path));
}

bool stateFile::pendingTaken(const QString &path)
{
    QMutexLocker lock(&pendingMutex);
    return takenPaths.contains(pathKey(path));
}

bool stateFile::write(const QString &path, const QSettings::SettingsMap &values)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!writeValues(file, values)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool stateFile::readValues(QIODevice &device, QSettings::SettingsMap &values)
{
    const QByteArray data = device.readAll();
    int pos = 0, lineStart = 0, lineLen = 0, equalsPos = 0;
    QString prefix;
    bool skipping = false;
    bool ok = true;
    while (iniText::nextLine(data, pos, lineStart, lineLen, equalsPos)) {
        int nameStart = 0, nameLen = 0;
        if (sectionHeader(data, lineStart, lineLen, nameStart, nameLen)) {
            skipping = isPlaylistGroup(data.constData() + nameStart, nameLen);
            const QString name = iniText::sectionName(data.constData() + nameStart, nameLen);
            prefix = name.isEmpty() ? QString() : name + QLatin1Char('/');
            continue;
        }
        if (skipping)
            continue;
        if (equalsPos < 0) {
            ok = false;
            continue;
        }
        int keyEnd = equalsPos;
        while (keyEnd > lineStart && (data.at(keyEnd - 1) == ' ' || data.at(keyEnd - 1) == '\t'))
            --keyEnd;
        values.insert(prefix + iniText::key(data.constData() + lineStart, keyEnd - lineStart),
                      iniText::value(data.constData() + equalsPos + 1, lineStart + lineLen - equalsPos - 1));
    }
    // A damaged line loses only itself; the rest of the file still counts.
    Q_UNUSED(ok);
    return true;
}

bool stateFile::writeValues(QIODevice &device, const QSettings::SettingsMap &values)
{
    QByteArray out;
    // Top-level keys first, under "[General]"; then each group, its keys in
    // name order, as QSettings writes them.
    QString section;
    bool started = false;
    for (int pass = 0; pass < 2; ++pass) {
        for (auto it = values.constBegin(); it != values.constEnd(); ++it) {
            const int slash = it.key().indexOf(QLatin1Char('/'));
            if ((slash < 0) != (pass == 0))
                continue;
            const QString group = slash < 0 ? QString() : it.key().left(slash);
            // Keys another QSettings object of this process parsed into the
            // shared cache: the playlist groups come from below, once.
            const QByteArray groupBytes = group.toLatin1();
            if (slash >= 0 && isPlaylistGroup(groupBytes.constData(), groupBytes.size()))
                continue;
            if (!started || group != section) {
                if (started)
                    out += '\n';
                iniText::appendSection(out, group);
                section = group;
                started = true;
            }
            iniText::appendKey(out, it.key().mid(slash + 1));
            out += '=';
            iniText::appendValue(out, it.value());
            out += '\n';
        }
    }

    auto *file = qobject_cast<QFileDevice *>(&device);
    const QString key = file ? pathKey(file->fileName()) : QString();
    QByteArray playlist;
    bool pending = false;
    {
        QMutexLocker lock(&pendingMutex);
        const auto it = pendingTexts.constFind(key);
        if (it != pendingTexts.constEnd()) {
            playlist = it.value();
            pending = true;
        }
    }
    if (!pending && file) {
        // No new playlist: the one in the file stays as it is.
        QFile old(file->fileName());
        if (old.open(QIODevice::ReadOnly))
            playlist = groupsText(old.readAll(), 0);
    }
    if (!out.isEmpty() && !playlist.isEmpty())
        out += '\n';
    if (device.write(out) != out.size() || device.write(playlist) != playlist.size())
        return false;
    if (pending) {
        QMutexLocker lock(&pendingMutex);
        pendingTexts.remove(key);
        takenPaths.insert(key);
    }
    return true;
}
