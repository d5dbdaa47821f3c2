#include "storage/playliststore.h"

#include "storage/statefolders.h"
#include "storage/vurnsettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {
const QString suffix = QStringLiteral(".ini");

// Names of the program's own files beside the saved playlists.
bool isOwnFile(const QString &name)
{
    return name == playlistStore::setAsideName() || name == playlistStore::asideName();
}

// "2" before "10": runs of digits compare by value, the rest without case.
int naturalCompare(const QString &a, const QString &b)
{
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        if (a.at(i).isDigit() && b.at(j).isDigit()) {
            int endA = i;
            int endB = j;
            while (endA < a.size() && a.at(endA).isDigit())
                ++endA;
            while (endB < b.size() && b.at(endB).isDigit())
                ++endB;
            // Leading zeros aside, a longer run is a larger number.
            QStringRef runA = a.midRef(i, endA - i);
            QStringRef runB = b.midRef(j, endB - j);
            while (runA.size() > 1 && runA.at(0) == QLatin1Char('0'))
                runA = runA.mid(1);
            while (runB.size() > 1 && runB.at(0) == QLatin1Char('0'))
                runB = runB.mid(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size() ? -1 : 1;
            if (const int order = runA.compare(runB))
                return order;
            i = endA;
            j = endB;
            continue;
        }
        const QChar ca = a.at(i).toCaseFolded();
        const QChar cb = b.at(j).toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    return (a.size() - i) - (b.size() - j);
}
} // namespace

QString playlistStore::folder()
{
    return stateFolders::playlistParent() + QStringLiteral("/playlists");
}

QString playlistStore::filePath(const QString &name)
{
    return folder() + QLatin1Char('/') + name + suffix;
}

const QString &playlistStore::setAsideName()
{
    static const QString name = QStringLiteral(".set-aside");
    return name;
}

const QString &playlistStore::asideName()
{
    static const QString name = QStringLiteral(".before-alarm");
    return name;
}

QStringList playlistStore::names()
{
    QStringList found;
    const QFileInfoList files = QDir(folder()).entryInfoList({QStringLiteral("*.ini")}, QDir::Files | QDir::Readable);
    for (const QFileInfo &file : files) {
        const QString name = file.completeBaseName();
        if (nameProblem(name).isEmpty())
            found << name;
    }
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) {
        const int order = naturalCompare(a, b);
        return order != 0 ? order < 0 : a < b;
    });
    return found;
}

QString playlistStore::nameProblem(const QString &name)
{
    if (name.trimmed().isEmpty())
        return QObject::tr("名前が空です。");
    if (name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\')))
        return QObject::tr("名前に「/」や「\\」は使えません。");
    if (name.startsWith(QLatin1Char('.')))
        return QObject::tr("「.」で始まる名前は使えません。");
    for (const QChar c : name) {
        if (c.category() == QChar::Other_Control)
            return QObject::tr("名前に制御文字は使えません。");
    }
    if (name.toUtf8().size() > 200)
        return QObject::tr("名前が長すぎます。");
    return QString();
}

bool playlistStore::exists(const QString &name)
{
    return (nameProblem(name).isEmpty() || isOwnFile(name)) && QFileInfo(filePath(name)).isFile();
}

QList<storedTrack> playlistStore::entries(const QString &name, bool forShow)
{
    if (!exists(name))
        return {};
    vurnSettings settings;
    QString file = QStringLiteral("playlists/") + name;
    settings.openFile(file);
    const QList<storedTrack> read = settings.loadPlayListEntries(forShow);
    settings.closeUnchanged();
    return read;
}

bool playlistStore::save(const QString &name, const QList<storedTrack> &tracks)
{
    return save(name, tracks, QVariantMap());
}

bool playlistStore::save(const QString &name, const QList<storedTrack> &tracks, const QVariantMap &notes)
{
    if (!nameProblem(name).isEmpty() && !isOwnFile(name))
        return false;
    vurnSettings settings;
    QString file = QStringLiteral("playlists/") + name;
    settings.openFile(file);
    // A shorter list must not keep the later entries of a longer one.
    settings.clearAll();
    for (auto note = notes.cbegin(); note != notes.cend(); ++note)
        settings.store->setValue(note.key(), note.value());
    settings.savePlayList(tracks);
    settings.sync(); // through a temporary file: the old file or the new one, whole
    return settings.isSaved();
}

QVariantMap playlistStore::notes(const QString &name, const QStringList &keys)
{
    QVariantMap found;
    if (!exists(name))
        return found;
    vurnSettings settings;
    QString file = QStringLiteral("playlists/") + name;
    settings.openFile(file);
    for (const QString &key : keys) {
        if (settings.store->contains(key))
            found.insert(key, settings.store->value(key));
    }
    settings.closeUnchanged();
    return found;
}

bool playlistStore::remove(const QString &name)
{
    return exists(name) && QFile::remove(filePath(name));
}

bool playlistStore::rename(const QString &from, const QString &to)
{
    if (!exists(from) || !nameProblem(to).isEmpty() || exists(to))
        return false;
    return QFile::rename(filePath(from), filePath(to));
}

QList<storedTrack> playlistStore::toStored(const QList<musicInfo *> &tracks)
{
    QList<storedTrack> stored;
    stored.reserve(tracks.size());
    for (const musicInfo *track : tracks) {
        if (track)
            stored << track->toStored();
    }
    return stored;
}
