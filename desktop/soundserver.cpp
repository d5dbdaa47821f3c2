#include "desktop/soundserver.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/thread-mainloop.h>
#include <pulse/volume.h>

#include <cmath>
#include <cstring>
#include <memory>

#include <unistd.h>

soundServer &soundServer::shared()
{
    static soundServer server;
    return server;
}

soundServer::~soundServer()
{
    if (!loop)
        return;
    pa_threaded_mainloop_stop(loop);
    if (context) {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
    pa_threaded_mainloop_free(loop);
}

void soundServer::whenReady(std::function<void(pa_context *)> job)
{
    if (!job || !ensureLoop())
        return;
    pa_threaded_mainloop_lock(loop);
    jobs.append(std::move(job));
    if (ensureContext())
        flushPending();
    pa_threaded_mainloop_unlock(loop);
}

bool soundServer::ensureLoop()
{
    if (loop)
        return true;
    loop = pa_threaded_mainloop_new();
    if (!loop || pa_threaded_mainloop_start(loop) < 0) {
        if (loop)
            pa_threaded_mainloop_free(loop);
        loop = nullptr;
        return false;
    }
    return true;
}

bool soundServer::ensureContext()
{
    if (context) {
        const pa_context_state_t state = pa_context_get_state(context);
        if (state == PA_CONTEXT_READY)
            return true;
        if (PA_CONTEXT_IS_GOOD(state))
            return false; // still connecting: the ready state flushes
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_unref(context);
        context = nullptr;
    }
    context = pa_context_new(pa_threaded_mainloop_get_api(loop), "Vurn");
    if (!context)
        return false;
    pa_context_set_state_callback(context, &soundServer::onContextState, this);
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
        pa_context_set_state_callback(context, nullptr, nullptr);
        pa_context_unref(context);
        context = nullptr;
    }
    return false;
}

void soundServer::onContextState(pa_context *context, void *self)
{
    auto *server = static_cast<soundServer *>(self);
    const pa_context_state_t state = pa_context_get_state(context);
    if (state == PA_CONTEXT_READY)
        server->flushPending();
    else if (!PA_CONTEXT_IS_GOOD(state)) {
        // No server: the next call tries again.
        server->jobs.clear();
    }
}

void soundServer::flushPending()
{
    const QVector<std::function<void(pa_context *)>> ready = std::move(jobs);
    jobs.clear();
    for (const auto &job : ready)
        job(context);
}
