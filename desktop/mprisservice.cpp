#include "desktop/mprisservice.h"

#include "desktop/mprisplayer.h"
#include "desktop/mprisroot.h"
#include "library/musicinfo.h"
#include "player/musicplay.h"
#include "playlist/playlist.h"
#include "playlist/vurncore.h"

#include <QCoreApplication>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QUrl>


namespace {

const char objectPath[] = "/org/mpris/MediaPlayer2";
const char playerInterface[] = "org.mpris.MediaPlayer2.Player";
const char noTrack[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

} // namespace

mprisService::mprisService(const QDBusConnection &bus, vurnCore *core, QObject *parent)
    : QObject(parent)
    , bus(bus)
    , core(core)
{
    root = new mprisRoot(this);
    player = new mprisPlayer(this);
    if (!this->bus.isConnected())
        return;
    if (!this->bus.registerObject(QLatin1String(objectPath), this))
        return;
    // Another player of ours may own the plain name (a portable copy beside
    // an installed one); MPRIS then asks for an instance suffix.
    ownedName = QStringLiteral("org.mpris.MediaPlayer2.vurn");
    if (!this->bus.registerService(ownedName)) {
        ownedName += QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid());
        if (!this->bus.registerService(ownedName)) {
            this->bus.unregisterObject(QLatin1String(objectPath));
            ownedName.clear();
            return;
        }
    }
    registered = true;
    told = current();

    connect(core->player, &musicPlay::stateChanged, this, &mprisService::refresh);
    connect(core->player, &musicPlay::lengthKnown, this, &mprisService::refresh);
    // A gapless change: the metadata follows the track heard.
    connect(core, &vurnCore::trackStarted, this, &mprisService::refresh);
    connect(core, &vurnCore::trackFailed, this, &mprisService::refresh);
    connect(core, &vurnCore::pausedChanged, this, &mprisService::refresh);
}

mprisService::~mprisService()
{
    if (registered) {
        bus.unregisterService(ownedName);
        bus.unregisterObject(QLatin1String(objectPath));
    }
}

QString mprisService::playbackStatus() const
{
    if (core->isPlaying())
        return QStringLiteral("Playing");
    return core->isPaused() ? QStringLiteral("Paused") : QStringLiteral("Stopped");
}

bool mprisService::hasTracks() const
{
    return core->hasTracks();
}

QString mprisService::trackId() const
{
    if (!core->isPlaying() && !core->isPaused() && !(core->currentIndex >= 0 && core->currentIndex < core->playlist->size()))
        return QLatin1String(noTrack);
    // Playing on after its row was removed or the list replaced.
    if (core->currentTrackGone() && (core->isPlaying() || core->isPaused()))
        return QStringLiteral("/org/vurn/vurn/track/unlisted");
    return QStringLiteral("/org/vurn/vurn/track/") + QString::number(core->currentIndex);
}

QVariantMap mprisService::metadata() const
{
    // While playing or paused, the player describes its file; stopped, the
    // track the next play starts from.
    const musicInfo *track = nullptr;
    if (core->isPlaying() || core->isPaused())
        track = core->player;
    else if (core->currentIndex >= 0 && core->currentIndex < core->playlist->size())
        track = core->playlist->at(core->currentIndex);
    QVariantMap map;
    map.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId())));
    if (!track)
        return map;
    if (track->lengthMsec > 0)
        map.insert(QStringLiteral("mpris:length"), qlonglong(track->lengthMsec) * 1000);
    map.insert(QStringLiteral("xesam:title"), track->title.isEmpty() ? track->baseName : track->title);
    if (!track->artist.isEmpty())
        map.insert(QStringLiteral("xesam:artist"), QStringList{track->artist});
    if (!track->album.isEmpty())
        map.insert(QStringLiteral("xesam:album"), track->album);
    if (!track->filePath.isEmpty())
        map.insert(QStringLiteral("xesam:url"), QUrl::fromLocalFile(track->filePath).toString());
    return map;
}

double mprisService::volume() const
{
    return double(core->volume());
}

qint64 mprisService::positionMsec() const
{
    return core->positionMsec();
}

qint64 mprisService::lengthMsec() const
{
    return core->isPlaying() || core->isPaused() ? core->currentLength() : 0;
}

bool mprisService::canSeek() const
{
    return lengthMsec() > 0;
}

namespace {

const QString modeNone = QStringLiteral("リピートなし");
const QString modeOne = QStringLiteral("1曲リピート");
const QString modeNext = QStringLiteral("全曲リピート(>>)");
const QString modePrevious = QStringLiteral("全曲リピート(<<)");
const QString modeRandom = QStringLiteral("ランダム");
const QString modeShuffle = QStringLiteral("シャッフル");
const QString modeOneRandom = QStringLiteral("リピートなし：ランダム");

} // namespace

QString mprisService::loopStatusOf(const QString &mode)
{
    if (mode == modeOne)
        return QStringLiteral("Track");
    // "リピートなし：ランダム" and an alarm's "リピートなし：3" stop too.
    if (mode.startsWith(modeNone))
        return QStringLiteral("None");
    return QStringLiteral("Playlist");
}

bool mprisService::isShuffled(const QString &mode)
{
    return mode == modeShuffle || mode == modeRandom || mode == modeOneRandom;
}

QString mprisService::modeForLoopStatus(const QString &current, const QString &loop)
{
    if (loop != QLatin1String("None") && loop != QLatin1String("Track") && loop != QLatin1String("Playlist"))
        return QString();
    if (loop == loopStatusOf(current))
        return current;
    if (loop == QLatin1String("Track"))
        return modeOne;
    return loop == QLatin1String("None") ? modeNone : modeNext;
}

QString mprisService::modeForShuffle(const QString &current, bool shuffle)
{
    if (shuffle == isShuffled(current))
        return current;
    if (shuffle)
        return modeShuffle;
    return current == modeOneRandom ? modeNone : modeNext;
}

QString mprisService::currentMode() const
{
    return core->modeText;
}

QString mprisService::loopStatus() const
{
    return loopStatusOf(core->modeText);
}

bool mprisService::shuffle() const
{
    return isShuffled(core->modeText);
}

void mprisService::seekBy(qint64 offsetUsec)
{
    if (!canSeek())
        return;
    const qint64 target = positionMsec() + offsetUsec / 1000;
    // Past the end is the next track; before the start is the start.
    if (target >= lengthMsec()) {
        emit nextRequested();
        return;
    }
    const qint64 position = qMax<qint64>(0, target);
    emit seekRequested(position);
    notifySeeked(position);
}

void mprisService::seekTo(const QString &track, qint64 positionUsec)
{
    // A stale track id or a position outside the track is ignored.
    if (!canSeek() || track != trackId() || positionUsec < 0 || positionUsec / 1000 > lengthMsec())
        return;
    emit seekRequested(positionUsec / 1000);
    notifySeeked(positionUsec / 1000);
}

void mprisService::notifySeeked(qint64 positionMsec)
{
    if (registered)
        emit player->Seeked(positionMsec * 1000);
}

mprisService::Snapshot mprisService::current() const
{
    Snapshot now;
    now.status = playbackStatus();
    const QVariantMap map = metadata();
    QStringList parts;
    for (auto it = map.begin(); it != map.end(); ++it) {
        const QVariant &value = it.value();
        const QString text = value.userType() == qMetaTypeId<QDBusObjectPath>() ? value.value<QDBusObjectPath>().path()
                             : value.userType() == QMetaType::QStringList ? value.toStringList().join(QChar(0))
                                                                            : value.toString();
        parts << it.key() + QLatin1Char('=') + text;
    }
    now.metadataKey = parts.join(QChar(1));
    now.volume = volume();
    now.hasTracks = hasTracks();
    now.canSeek = canSeek();
    now.loop = loopStatus();
    now.shuffle = shuffle();
    return now;
}

void mprisService::refresh()
{
    if (!registered)
        return;
    const Snapshot now = current();
    QVariantMap changed;
    if (now.status != told.status)
        changed.insert(QStringLiteral("PlaybackStatus"), now.status);
    if (now.metadataKey != told.metadataKey)
        changed.insert(QStringLiteral("Metadata"), metadata());
    if (now.volume != told.volume)
        changed.insert(QStringLiteral("Volume"), now.volume);
    if (now.hasTracks != told.hasTracks) {
        for (const char *name : {"CanGoNext", "CanGoPrevious", "CanPlay", "CanPause"})
            changed.insert(QLatin1String(name), now.hasTracks);
    }
    if (now.canSeek != told.canSeek)
        changed.insert(QStringLiteral("CanSeek"), now.canSeek);
    if (now.loop != told.loop)
        changed.insert(QStringLiteral("LoopStatus"), now.loop);
    if (now.shuffle != told.shuffle)
        changed.insert(QStringLiteral("Shuffle"), now.shuffle);
    told = now;
    if (!changed.isEmpty())
        sendChanged(changed);
}

void mprisService::sendChanged(const QVariantMap &changed)
{
    // Built by hand: QtDBus does not announce adaptor property changes.
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(objectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(playerInterface) << changed << QStringList();
    bus.send(signal);
}

#include "moc_mprisservice.cpp"
