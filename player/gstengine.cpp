#include "player/gstengine.h"

#include <QFileInfo>
#include <QUrl>
#include <QtGlobal>

#include <gst/gst.h>

#include <cmath>
#include <utility>

namespace {

// The player has always turned a level into loudness with Stevens' power law
// (loudness grows with amplitude to the power 0.67); a person's ears are
// used to it.
constexpr double loudnessExponent = 0.67;

constexpr int pollMsec = 25;
constexpr int pausedPollMsec = 200;
// Longer than the sound server's own buffer, which a stream closed at once
// would cut off.
constexpr int tailMsec = 250;
// A new stream is never held back longer than the output's buffer.
constexpr qint64 maxMoveDelayMsec = 2000;

qreal bounded(qreal value)
{
    return std::isnan(value) ? 0.0 : qBound<qreal>(0.0, value, 1.0);
}

} // namespace

gstEngine::gstEngine(QObject *parent)
    : QObject(parent)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    gain = std::make_unique<gstReplayGain>();
    busTimer.setInterval(pollMsec);
    connect(&busTimer, &QTimer::timeout, this, &gstEngine::pollBus);
    moveTimer.setSingleShot(true);
    connect(&moveTimer, &QTimer::timeout, this, &gstEngine::completeMove);
    releaseTimer.setSingleShot(true);
    releaseTimer.setInterval(tailMsec);
    connect(&releaseTimer, &QTimer::timeout, this, &gstEngine::release);

    player = std::make_unique<gstPlaybin>(&handover);
    pipeline = player->element();
    bus = player->bus();
    applyVolume();
}

gstEngine::~gstEngine()
{
    // The streaming threads end before the handover they read goes.
    player.reset();
}

bool gstEngine::playFile(const QString &file)
{
    idle();
    lastError.clear();
    playing = file;
    if (lengthMsec != -1) {
        lengthMsec = -1;
        emit lengthChanged(lengthMsec);
    }
    const QFileInfo info(file);
    if (!pipeline || !info.isFile()) {
        lastError = pipeline ? QStringLiteral("no such file") : QStringLiteral("GStreamer has no playbin");
        setState(State::Error);
        emit failed(file, lastError);
        return false;
    }
    // Changed only while stopped, so that playbin builds its output anew.
    g_object_set(pipeline, "audio-filter", gain->filter(), nullptr);
    g_object_set(pipeline, "uri", QUrl::fromLocalFile(info.absoluteFilePath()).toEncoded().constData(), nullptr);
    changing = true;
    busTimer.start(pollMsec);
    // The new stream is made with our level, not with what playbin read
    // back from the last one.
    applyVolume();
    // A file that cannot be opened fails here or a moment later; either way
    // the bus says why.
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    return true;
}

void gstEngine::stop()
{
    idle();
    setState(State::Stopped);
}

void gstEngine::idle()
{
    if (pipeline) {
        // Synchronous: no streaming thread is left running past this.
        gst_element_set_state(pipeline, GST_STATE_READY);
        drainBus();
    }
    handover.reset();
    busTimer.stop();
    moveTimer.stop();
    releaseTimer.stop();
    reachedFile.clear();
    changing = false;
    wantPaused = false;
    pendingSeek = -1;
    lastPosition = 0;
}

void gstEngine::drainBus()
{
    while (GstMessage *message = gst_bus_pop(bus))
        gst_message_unref(message);
}

void gstEngine::pause()
{
    // Playing, or on its way there.
    if (current != State::Playing && !(changing && !wantPaused))
        return;
    wantPaused = true;
    changing = true;
    gst_element_set_state(pipeline, GST_STATE_PAUSED);
}

void gstEngine::resume()
{
    if (current != State::Paused && !wantPaused)
        return;
    wantPaused = false;
    changing = true;
    busTimer.start(pollMsec);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
}

void gstEngine::seek(qint64 msec)
{
    if (current == State::Stopped && !changing)
        return;
    if (current == State::Error)
        return;
    msec = qMax<qint64>(0, msec);
    lastPosition = msec;
    // A seek before the file is open waits for it.
    if (changing && current == State::Stopped) {
        pendingSeek = msec;
        return;
    }
    if (!gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                 GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), msec * GST_MSECOND))
        pendingSeek = msec;
}

qint64 gstEngine::position() const
{
    if (current == State::Stopped || current == State::Error || !pipeline)
        return 0;
    if (!reachedFile.isEmpty())
        return qMin(positionAtReach + sinceReached.elapsed(), qMax<qint64>(lengthMsec, positionAtReach));
    if (releaseTimer.isActive())
        return qMax<qint64>(lengthMsec, lastPosition);
    gint64 at = 0;
    // While a seek settles the query fails: the target stands meanwhile.
    if (pendingSeek < 0 && gst_element_query_position(pipeline, GST_FORMAT_TIME, &at) && at >= 0)
        lastPosition = at / GST_MSECOND;
    return lastPosition;
}

void gstEngine::setNextFile(const QString &file)
{
    handover.prepare(file.isEmpty() ? QString() : QFileInfo(file).absoluteFilePath());
}

double gstEngine::serverFraction(qreal level)
{
    // In whole percent of the server's volume, cut off as the player has
    // always given it: the slider at 70 is heard at 58 %, as it always was.
    return std::floor(std::pow(bounded(level), 1.0 / loudnessExponent) * 100.0 + 1e-6) / 100.0;
}

void gstEngine::setVolume(qreal volume)
{
    level = bounded(volume);
    applyVolume();
}

void gstEngine::setMuted(bool mute)
{
    muted = mute;
    applyVolume();
}

void gstEngine::setAttenuation(qreal factor)
{
    damping = bounded(factor);
    applyVolume();
}

void gstEngine::applyVolume()
{
    if (!pipeline)
        return;
    // Linear amplitude; the server shows its cube root. Set on the sink
    // itself, so that every new stream is made with it: a stream made
    // without a volume of its own takes what the server remembers for its
    // kind (another player's, or a day-old level).
    const double fraction = serverFraction(level * damping);
    GstElement *target = player->output() ? player->output() : pipeline;
    g_object_set(target, "volume", fraction * fraction * fraction, "mute", gboolean(muted), nullptr);
}

void gstEngine::setReplayGain(ReplayGain mode, double preAmpDb, double untaggedDb)
{
    gain->set(mode, preAmpDb, untaggedDb);
}

void gstEngine::setState(State next)
{
    if (next == current)
        return;
    current = next;
    busTimer.setInterval(next == State::Paused ? pausedPollMsec : pollMsec);
    emit stateChanged(current);
}

void gstEngine::pollBus()
{
    if (!bus)
        return;
    while (GstMessage *message = gst_bus_pop(bus)) {
        handle(message);
        gst_message_unref(message);
    }
    if (lengthMsec < 0 && (current == State::Playing || current == State::Paused))
        refreshLength();
    // A seek the demuxer refused while it played (some refuse while they
    // are still busy with the last one) is asked again, rather than left
    // for a state change that may never come.
    if (pendingSeek >= 0 && !changing && (current == State::Playing || current == State::Paused)
        && gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                   GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                   pendingSeek * GST_MSECOND))
        pendingSeek = -1;
    // Read after the messages, so that a new stream's report found at the
    // next poll still has the position heard before it came.
    if (current == State::Playing && reachedFile.isEmpty()) {
        polledPosition = position();
        sincePolled.start();
    }
}

void gstEngine::refreshLength()
{
    gint64 duration = -1;
    if (!gst_element_query_duration(pipeline, GST_FORMAT_TIME, &duration) || duration < 0)
        return;
    const qint64 msec = duration / GST_MSECOND;
    if (msec != lengthMsec) {
        lengthMsec = msec;
        emit lengthChanged(lengthMsec);
    }
}

void gstEngine::handle(GstMessage *message)
{
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_STATE_CHANGED: {
        if (GST_MESSAGE_SRC(message) != GST_OBJECT(pipeline))
            break;
        GstState old, now, pending;
        gst_message_parse_state_changed(message, &old, &now, &pending);
        if (pending != GST_STATE_VOID_PENDING)
            break;
        if (now == GST_STATE_PLAYING && !wantPaused) {
            changing = false;
            setState(State::Playing);
        } else if (now == GST_STATE_PAUSED && wantPaused) {
            changing = false;
            setState(State::Paused);
        }
        break;
    }
    case GST_MESSAGE_ASYNC_DONE:
        if (pendingSeek >= 0) {
            const qint64 target = std::exchange(pendingSeek, -1);
            gst_element_seek_simple(pipeline, GST_FORMAT_TIME,
                                    GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), target * GST_MSECOND);
        }
        refreshLength();
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        lengthMsec = -1; // asked again at the next poll
        break;
    case GST_MESSAGE_STREAM_START:
        onStreamStart();
        break;
    case GST_MESSAGE_EOS:
        onEnd();
        break;
    case GST_MESSAGE_ERROR:
        onError(message);
        break;
    default:
        break;
    }
}

void gstEngine::onStreamStart()
{
    const QString next = handover.takeReached();
    if (next.isEmpty())
        return;
    if (!reachedFile.isEmpty())
        completeMove();
    // What is heard now is still the current file, up to its end. The
    // output's position already counts in the new stream: take the last one
    // read before it.
    positionAtReach = polledPosition + (sincePolled.isValid() ? sincePolled.elapsed() : 0);
    const qint64 ahead = lengthMsec > 0 ? qBound<qint64>(0, lengthMsec - positionAtReach, maxMoveDelayMsec) : 0;
    reachedFile = next;
    sinceReached.start();
    moveTimer.start(int(ahead));
}

void gstEngine::completeMove()
{
    moveTimer.stop();
    if (reachedFile.isEmpty())
        return;
    playing = std::exchange(reachedFile, QString());
    lastPosition = 0;
    lengthMsec = -1;
    refreshLength();
    emit movedToNext(playing);
}

void gstEngine::onEnd()
{
    completeMove();
    releaseTimer.start();
}

void gstEngine::release()
{
    idle();
    setState(State::Stopped);
    emit finished();
}

void gstEngine::onError(GstMessage *message)
{
    GError *error = nullptr;
    gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    lastError = error ? QString::fromUtf8(error->message) : QStringLiteral("unknown error");
    if (error)
        g_error_free(error);
    g_free(debug);
    // Once the stream took the next file, the one playing has been read to
    // its end: what fails is the next one.
    const QString queued = handover.takenNotReached();
    const QString file = queued.isEmpty() ? playing : queued;
    // Only from the bottom state does playbin take a new file after a failure.
    gst_element_set_state(pipeline, GST_STATE_NULL);
    idle();
    setState(State::Error);
    emit failed(file, lastError);
}
