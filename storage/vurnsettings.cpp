#include "storage/vurnsettings.h"

#include "library/musicinfo.h"
#include "storage/statefile.h"
#include "storage/statefolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QSysInfo>
#include <QThread>

#include <cerrno>
#include <climits>
#include <csignal>
#include <sys/types.h>

namespace {

const char versionText[] = "0.3.4";
const char generalGroup[] = "General";
const QString defaultRepeatMode = QStringLiteral("全曲リピート(>>)");
const int defaultVolume = 70;

// A hand-edited value with an unquoted comma is read back as a list; joining
// it again gives the text the user typed rather than nothing.
QString variantToString(const QVariant &v)
{
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    if (v.canConvert<QString>())
        return v.toString();
    return QString();
}

} // namespace

vurnSettings::vurnSettings(QObject *parent)
    : QObject(parent)
{
}

vurnSettings::~vurnSettings()
{
    if (store) {
        setGeneralValue(QStringLiteral("Version"), QString::fromLatin1(versionText));
        sync();
        delete store;
        store = nullptr;
    }
}

void vurnSettings::openFile(QString &name)
{
    if (name.isEmpty())
        name = QStringLiteral("Vurn");
    const QString folder = name.startsWith(QLatin1String("playlists/")) ? stateFolders::playlistParent()
                                                                         : stateFolders::settingsFolder();
    filePath = folder + QLatin1Char('/') + name + QStringLiteral(".ini");
    delete store;
    // The INI text QSettings writes, with the playlist groups handled aside.
    store = new QSettings(filePath, stateFile::format());
}

// ---- General ---------------------------------------------------------------

// QSettings keeps its own top-level keys in "[General]" and escapes a group of
// that name as "[%General]". A file written by hand with "[General]" therefore
// holds the values at the top level; read those when the group has none.
QVariant vurnSettings::generalValue(const QString &key) const
{
    if (!store)
        return QVariant();
    const QString grouped = QLatin1String(generalGroup) + QLatin1Char('/') + key;
    if (store->contains(grouped))
        return store->value(grouped);
    return store->value(key);
}

void vurnSettings::setGeneralValue(const QString &key, const QVariant &value)
{
    if (store)
        store->setValue(QLatin1String(generalGroup) + QLatin1Char('/') + key, value);
}

QString vurnSettings::loadRepeatMode() const
{
    const QVariant v = generalValue(QStringLiteral("RepeatMode"));
    return v.isValid() ? variantToString(v) : defaultRepeatMode;
}

void vurnSettings::saveRepeatMode(const QString &mode)
{
    setGeneralValue(QStringLiteral("RepeatMode"), mode);
}

QString vurnSettings::loadLastFolder() const
{
    const QVariant v = generalValue(QStringLiteral("LastFolder"));
    return v.isValid() ? variantToString(v) : QString();
}

void vurnSettings::saveLastFolder(const QString &folder)
{
    if (!folder.isEmpty())
        setGeneralValue(QStringLiteral("LastFolder"), folder);
}

int vurnSettings::loadVolume() const
{
    const QVariant v = generalValue(QStringLiteral("Volume"));
    if (!v.isValid())
        return defaultVolume;
    return variantToString(v).trimmed().toInt();
}

void vurnSettings::saveVolume(int volume)
{
    setGeneralValue(QStringLiteral("Volume"), volume);
}

bool vurnSettings::loadAlarmEnable() const
{
    return generalFlag(QStringLiteral("alarmEnable"), true);
}

void vurnSettings::saveAlarmEnable(bool enabled)
{
    setGeneralValue(QStringLiteral("alarmEnable"), enabled);
}

bool vurnSettings::generalFlag(const QString &key, bool fallback) const
{
    const QVariant v = generalValue(key);
    return v.isValid() ? v.toBool() : fallback;
}

int vurnSettings::listedValue(const QString &key, const QList<int> &allowed, int fallback) const
{
    const QVariant v = generalValue(key);
    if (!v.isValid())
        return fallback;
    bool ok = false;
    const int value = variantToString(v).trimmed().toInt(&ok, 10);
    return ok && allowed.contains(value) ? value : fallback;
}

QByteArray vurnSettings::loadGeometry() const
{
    const QVariant v = generalValue(QStringLiteral("geometry"));
    return v.userType() == QMetaType::QByteArray ? v.toByteArray() : QByteArray();
}

QByteArray vurnSettings::loadWindowState() const
{
    const QVariant v = generalValue(QStringLiteral("windowState"));
    return v.userType() == QMetaType::QByteArray ? v.toByteArray() : QByteArray();
}

void vurnSettings::saveWindowLayout(const QByteArray &geometry, const QByteArray &state)
{
    setGeneralValue(QStringLiteral("geometry"), geometry);
    setGeneralValue(QStringLiteral("windowState"), state);
}

// ---- Playlist groups "0", "1", ... ------------------------------------------

QString vurnSettings::stringValue(const QString &key, const QString &fallback) const
{
    const QVariant v = store->value(key);
    return v.isValid() ? variantToString(v) : fallback;
}

bool vurnSettings::boolValue(const QString &key, bool fallback) const
{
    const QVariant v = store->value(key);
    return v.isValid() ? v.toBool() : fallback;
}

// ---- Whole file --------------------------------------------------------------

void vurnSettings::clearAll()
{
    if (!store)
        return;
    store->clear();
    // The playlist goes too unless it is saved again before the next sync.
    pendingPlaylist.clear();
    hasPendingPlaylist = true;
}

void vurnSettings::sync()
{
    if (!store)
        return;
    // Saved playlist names may name subfolders of "playlists".
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    removeStaleLock(filePath + QStringLiteral(".lock"));
    if (!hasPendingPlaylist) {
        store->sync();
        return;
    }
    // The playlist goes into QSettings' own write of the file; when QSettings
    // has nothing new to write, the file is written here, the same way.
    stateFile::setPendingPlaylist(filePath, pendingPlaylist);
    store->sync();
    if (!stateFile::pendingTaken(filePath)) {
        QSettings::SettingsMap values;
        for (const QString &key : store->allKeys())
            values.insert(key, store->value(key));
        writeFailed = !stateFile::write(filePath, values);
    }
    hasPendingPlaylist = false;
    pendingPlaylist.clear();
}

bool vurnSettings::isSaved() const
{
    return store && store->status() == QSettings::NoError && !writeFailed;
}

void vurnSettings::removeStaleLock(const QString &lockPath)
{
    // QLockFile guards the removal of a stale lock with "<lock>.rmlock", itself
    // a lock file, so a kill at the wrong moment can leave a chain of them.
    // Clear it from the innermost link outwards.
    QStringList chain;
    for (QString path = lockPath; chain.size() < 4; path += QStringLiteral(".rmlock"))
        chain.prepend(path);
    for (const QString &path : chain) {
        if (isAbandonedLock(path))
            QFile::remove(path);
    }
}

bool vurnSettings::isAbandonedLock(const QString &path)
{
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        if (!QFileInfo::exists(path))
            return false;
        qint64 pid = 0;
        QString host;
        QString app;
        if (QLockFile(path).getLockInfo(&pid, &host, &app)) {
            // Another machine's lock on a shared folder is QLockFile's business.
            if (!host.isEmpty() && host != QSysInfo::machineHostName())
                return false;
            return ::kill(pid_t(pid), 0) == -1 && errno == ESRCH;
        }
        // A live owner writes its pid right after creating the file; one that
        // stays empty or garbled was left by a process killed in between.
        if (waited.elapsed() >= 300)
            return true;
        QThread::msleep(20);
    }
}

// ---- Where the files live ----------------------------------------------------

QString vurnSettings::stateDirectory()
{
    return stateFolders::settingsFolder();
}

void vurnSettings::setStateDirectoryOverride(const QString &dir)
{
    stateFolders::setOverride(dir);
}

bool vurnSettings::isSafePlaylistName(const QString &name)
{
    if (name.isEmpty() || name.contains(QChar(0)) || name.startsWith(QLatin1Char('/')))
        return false;
    // Resolve against a fixed root: only the relative shape of the name matters.
    const QString root = QStringLiteral("/r/playlists/");
    const QString resolved = QDir::cleanPath(root + name + QStringLiteral(".ini"));
    return resolved.startsWith(root) && resolved.size() > root.size();
}

#include "moc_vurnsettings.cpp"
