#pragma once

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

    // Runs `job` on the server's thread, with the main loop locked, once the
    // connection is ready. Jobs still waiting when the server cannot be
    // reached are dropped: callers that wait for an answer keep a timeout.
    void whenReady(std::function<void(pa_context *)> job);

    soundServer(const soundServer &) = delete;
    soundServer &operator=(const soundServer &) = delete;

private:
    soundServer() = default;
    bool ensureLoop();
    // Both with the main loop locked.
    bool ensureContext();
    void flushPending();
    static void onContextState(pa_context *context, void *self);

    pa_threaded_mainloop *loop = nullptr;
    pa_context *context = nullptr;
    // Guarded by the main loop's lock.
    QVector<std::function<void(pa_context *)>> jobs;
};
