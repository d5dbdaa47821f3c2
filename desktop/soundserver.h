#pragma once

#include <QByteArray>
#include <QHash>
#include <QVector>

#include <functional>

struct pa_context;
struct pa_threaded_mainloop;

// The player's connection to the sound server (PulseAudio, or the PulseAudio
// service of PipeWire), on a thread of its own. Every call is asynchronous and
// returns at once; without a server nothing happens and nothing fails. A server
// that went away is connected to again at the next call.
class soundServer
{
public:
    static soundServer &shared();
    ~soundServer();

    // The volume and mute the server remembers for streams whose restore id is
    // `restoreId`: the next such stream starts with them rather than with
    // whatever an earlier stream of ours, or another day's, left behind.
    // `volume` is the stream's own level, 0.0 to 1.0. Where the server already
    // routes these streams to a chosen output, that choice is kept.
    void rememberStreamLevel(const QByteArray &restoreId, double volume, bool muted);

    // Mutes or unmutes, on the server itself, this process's streams that
    // carry `restoreId`: what the media framework believes of a stream's mute
    // can differ from what the server plays, and then its own request never
    // reaches the stream.
    void setOwnStreamsMuted(const QByteArray &restoreId, bool muted);

    // Runs `job` on the server's thread, with the main loop locked, once the
    // connection is ready. Jobs still waiting when the server cannot be
    // reached are dropped: callers that wait for an answer keep a timeout.
    void whenReady(std::function<void(pa_context *)> job);

    soundServer(const soundServer &) = delete;
    soundServer &operator=(const soundServer &) = delete;

private:
    struct Level
    {
        double volume = 1.0;
        bool muted = false;
    };

    soundServer() = default;
    bool ensureLoop();
    // Both with the main loop locked.
    bool ensureContext();
    void flushPending();
    static void onContextState(pa_context *context, void *self);

    pa_threaded_mainloop *loop = nullptr;
    pa_context *context = nullptr;
    // Both guarded by the main loop's lock.
    QHash<QByteArray, Level> pending;
    QVector<std::function<void(pa_context *)>> jobs;
};
