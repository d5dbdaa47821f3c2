#include "desktop/soundserver.h"

#include <pulse/context.h>
#include <pulse/ext-stream-restore.h>
#include <pulse/introspect.h>
#include <pulse/thread-mainloop.h>
#include <pulse/volume.h>

#include <cmath>
#include <cstring>
#include <memory>

#include <unistd.h>

namespace {

// One remembered level on its way: read what the server keeps for the id,
// then write it back with the new volume and mute.
struct Remember
{
    QByteArray restoreId;
    pa_volume_t volume = PA_VOLUME_NORM;
    bool muted = false;
    bool found = false;
    pa_channel_map map{};
    QByteArray device;
};

void onEntryRead(pa_context *context, const pa_ext_stream_restore_info *info, int eol, void *data)
{
    auto *job = static_cast<Remember *>(data);
    if (eol == 0 && info) {
        if (info->name && job->restoreId == info->name) {
            job->found = true;
            if (pa_channel_map_valid(&info->channel_map))
                job->map = info->channel_map;
            if (info->device)
                job->device = info->device;
        }
        return;
    }
    std::unique_ptr<Remember> done(job);
    if (eol < 0)
        return; // the server has no such memory (module not loaded): nothing to do
    if (!job->found || !pa_channel_map_valid(&job->map))
        pa_channel_map_init_stereo(&job->map);
    pa_ext_stream_restore_info entry{};
    entry.name = job->restoreId.constData();
    entry.channel_map = job->map;
    pa_cvolume_set(&entry.volume, job->map.channels, job->volume);
    entry.device = job->device.isEmpty() ? nullptr : job->device.constData();
    entry.mute = job->muted ? 1 : 0;
    // Replaces this one entry only; streams playing now are left alone.
    if (pa_operation *write = pa_ext_stream_restore_write(context, PA_UPDATE_REPLACE, &entry, 1, 0, nullptr, nullptr))
        pa_operation_unref(write);
}

// The mute wanted for this process's streams of one restore id.
struct StreamMute
{
    QByteArray restoreId;
    QByteArray processId;
    bool muted = false;
};

void onSinkInput(pa_context *context, const pa_sink_input_info *info, int eol, void *data)
{
    auto *job = static_cast<StreamMute *>(data);
    if (eol != 0 || !info) {
        delete job;
        return;
    }
    const char *id = pa_proplist_gets(info->proplist, "module-stream-restore.id");
    const char *pid = pa_proplist_gets(info->proplist, PA_PROP_APPLICATION_PROCESS_ID);
    if (!id || !pid || job->restoreId != id || job->processId != pid || bool(info->mute) == job->muted)
        return;
    if (pa_operation *op = pa_context_set_sink_input_mute(context, info->index, job->muted ? 1 : 0, nullptr, nullptr))
        pa_operation_unref(op);
}

} // namespace

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

void soundServer::rememberStreamLevel(const QByteArray &restoreId, double volume, bool muted)
{
    if (restoreId.isEmpty() || !ensureLoop())
        return;
    pa_threaded_mainloop_lock(loop);
    Level level;
    level.volume = std::isnan(volume) ? 0.0 : qBound(0.0, volume, 1.0);
    level.muted = muted;
    pending.insert(restoreId, level);
    if (ensureContext())
        flushPending();
    pa_threaded_mainloop_unlock(loop);
}

void soundServer::setOwnStreamsMuted(const QByteArray &restoreId, bool muted)
{
    if (restoreId.isEmpty())
        return;
    const QByteArray processId = QByteArray::number(qint64(::getpid()));
    whenReady([restoreId, processId, muted](pa_context *context) {
        auto job = std::make_unique<StreamMute>();
        job->restoreId = restoreId;
        job->processId = processId;
        job->muted = muted;
        if (pa_operation *list = pa_context_get_sink_input_info_list(context, onSinkInput, job.get())) {
            job.release();
            pa_operation_unref(list);
        }
    });
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
        server->pending.clear();
        server->jobs.clear();
    }
}

void soundServer::flushPending()
{
    for (auto it = pending.cbegin(); it != pending.cend(); ++it) {
        auto job = std::make_unique<Remember>();
        job->restoreId = it.key();
        job->volume = pa_volume_t(std::lround(it.value().volume * PA_VOLUME_NORM));
        job->muted = it.value().muted;
        if (pa_operation *read = pa_ext_stream_restore_read(context, onEntryRead, job.get())) {
            job.release();
            pa_operation_unref(read);
        }
    }
    pending.clear();
    const QVector<std::function<void(pa_context *)>> ready = std::move(jobs);
    jobs.clear();
    for (const auto &job : ready)
        job(context);
}
