#include "engine/playbackbackend.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <phonon/BackendCapabilities>

namespace {

const char restoreIdVariable[] = "PULSE_PROP_OVERRIDE_module-stream-restore.id";

QString writtenConfig;

// The VLC backend seeks Ogg files with its own Ogg demuxer, which lands far
// from the asked time (a 30-second Vorbis file ends, a 12-second seek in a
// longer one lands near a minute). Its libavformat demuxer seeks them right.
// Forcing libavformat's "ogg" format makes that demuxer refuse every other
// file at once, so they keep their usual demuxers. That refusal is logged as
// an error for every such file, so the backend's own log stays quiet
// (PHONON_SUBSYSTEM_DEBUG still turns it on for a diagnosis).
const char oggThroughLibavformat[] =
    "\n[core]\ndemux=avformat,any\nquiet=1\n[avformat]\navformat-format=ogg\n";

// The person's own backend configuration plus the lines above, in a folder of
// our own; empty when theirs already chooses demuxers (theirs wins) or
// nothing can be written.
QString writeBackendConfig()
{
    const QString own = QSettings(QStringLiteral("Phonon"), QStringLiteral("vlc")).fileName();
    QByteArray text;
    QFile existing(own);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return QString();
        text = existing.readAll();
        if (text.contains("demux=") || text.contains("avformat-format="))
            return QString();
    }
    text += oggThroughLibavformat;

    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (base.isEmpty())
        return QString();
    const QString dir = base + QStringLiteral("/vurn/backend");
    // The same relative name the backend asks for under its settings folder.
    const QString path = dir + QStringLiteral("/Phonon/vlc.conf");
    if (!QDir().mkpath(dir + QStringLiteral("/Phonon")))
        return QString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return QString();
    return dir;
}

} // namespace

void playbackBackend::prepare()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;

    if (!qEnvironmentVariableIsSet(restoreIdVariable))
        qputenv(restoreIdVariable, streamRestoreId());

    // The backend reads its configuration once, when it loads, from the
    // settings folder of the time: point that folder at ours for the load
    // only, and put it back for everything else.
    const QString dir = writeBackendConfig();
    if (dir.isEmpty()) {
        Phonon::BackendCapabilities::availableMimeTypes();
        return;
    }
    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    Phonon::BackendCapabilities::availableMimeTypes();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userFolder);
    writtenConfig = dir + QStringLiteral("/Phonon/vlc.conf");
}

QByteArray playbackBackend::streamRestoreId()
{
    const QByteArray set = qgetenv(restoreIdVariable);
    return set.isEmpty() ? QByteArrayLiteral("sink-input-by-application-id:org.vurn.vurn") : set;
}

QString playbackBackend::configFile()
{
    return writtenConfig;
}
