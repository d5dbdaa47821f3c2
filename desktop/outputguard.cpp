#include "desktop/outputguard.h"

#include "desktop/soundserver.h"

#include <QCoreApplication>
#include <QPointer>

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/volume.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace {

using SinkJob = std::function<void(pa_context *, const pa_sink_info *)>;

// A sink lookup on its way; the job gets the sink, or null when there is none.
struct SinkLookup
{
    SinkJob job;
    bool answered = false;
};

void onSinkInfo(pa_context *context, const pa_sink_info *info, int eol, void *data)
{
    auto *lookup = static_cast<SinkLookup *>(data);
    if (eol == 0 && info && !lookup->answered) {
        lookup->answered = true;
        lookup->job(context, info);
        return;
    }
    if (eol == 0)
        return;
    std::unique_ptr<SinkLookup> done(lookup);
    if (!lookup->answered)
        lookup->job(context, nullptr);
}

void withSink(pa_context *context, const QByteArray &name, SinkJob job)
{
    auto *lookup = new SinkLookup{std::move(job)};
    pa_operation *op = pa_context_get_sink_info_by_name(context, name.constData(), onSinkInfo, lookup);
    if (!op) {
        std::unique_ptr<SinkLookup> done(lookup);
        lookup->job(context, nullptr);
        return;
    }
    pa_operation_unref(op);
}

void onServerInfo(pa_context *context, const pa_server_info *info, void *data)
{
    std::unique_ptr<SinkJob> job(static_cast<SinkJob *>(data));
    if (!info || !info->default_sink_name) {
        (*job)(context, nullptr);
        return;
    }
    withSink(context, QByteArray(info->default_sink_name), std::move(*job));
}

void withDefaultSink(pa_context *context, SinkJob job)
{
    auto *pending = new SinkJob(std::move(job));
    pa_operation *op = pa_context_get_server_info(context, onServerInfo, pending);
    if (!op) {
        std::unique_ptr<SinkJob> done(pending);
        (*done)(context, nullptr);
        return;
    }
    pa_operation_unref(op);
}

outputGuard::Output describe(const pa_sink_info *info)
{
    outputGuard::Output output;
    if (!info)
        return output;
    output.known = true;
    output.sink = info->name;
    output.muted = info->mute != 0;
    output.percent = int(std::lround(100.0 * pa_cvolume_max(&info->volume) / PA_VOLUME_NORM));
    return output;
}

// Hands `work` to the guard's thread, unless the guard is gone by then.
template<typename Work>
void deliver(const QPointer<outputGuard> &guard, Work work)
{
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [guard, work] {
            if (guard)
                work(guard.data());
        },
        Qt::QueuedConnection);
}

} // namespace

outputGuard::outputGuard(QObject *parent) : QObject(parent)
{
}

void outputGuard::refresh()
{
    const QPointer<outputGuard> self(this);
    soundServer::shared().whenReady([self](pa_context *context) {
        withDefaultSink(context, [self](pa_context *, const pa_sink_info *info) {
            const Output output = describe(info);
            deliver(self, [output](outputGuard *guard) { guard->onState(output); });
        });
    });
}

outputGuard::Output outputGuard::state() const
{
    return current;
}

bool outputGuard::isSilent(const Output &output)
{
    return output.known && (output.muted || output.percent < silentBelowPercent);
}

void outputGuard::makeAudible(int minimumPercent)
{
    audiblePending = true;
    restoreWanted = false;
    const QPointer<outputGuard> self(this);
    const auto target = pa_volume_t(std::lround(qBound(0, minimumPercent, 100) / 100.0 * PA_VOLUME_NORM));
    soundServer::shared().whenReady([self, target](pa_context *context) {
        withDefaultSink(context, [self, target](pa_context *context, const pa_sink_info *info) {
            Change made;
            if (!info) {
                deliver(self, [made](outputGuard *guard) { guard->onChanged(made); });
                return;
            }
            made.sink = info->name;
            made.volumeBefore = QByteArray(reinterpret_cast<const char *>(&info->volume), sizeof(pa_cvolume));
            if (info->mute) {
                made.unmuted = true;
                if (pa_operation *op = pa_context_set_sink_mute_by_index(context, info->index, 0, nullptr, nullptr))
                    pa_operation_unref(op);
            }
            pa_cvolume volume = info->volume;
            if (pa_cvolume_max(&volume) < target) {
                made.raised = true;
                // Scaled as a whole, so the balance between channels stays.
                pa_cvolume_scale(&volume, target);
                if (pa_operation *op = pa_context_set_sink_volume_by_index(context, info->index, &volume, nullptr,
                                                                            nullptr))
                    pa_operation_unref(op);
            }
            made.volumeSet = pa_cvolume_max(&volume);
            Output after = describe(info);
            after.muted = false;
            after.percent = int(std::lround(100.0 * made.volumeSet / PA_VOLUME_NORM));
            deliver(self, [made, after](outputGuard *guard) {
                guard->onChanged(made);
                guard->onState(after);
            });
        });
    });
}

void outputGuard::restore()
{
    if (audiblePending) {
        restoreWanted = true;
        return;
    }
    if (!changed)
        return;
    const Change made = change;
    changed = false;
    change = Change();
    if (!made.unmuted && !made.raised)
        return;
    const QPointer<outputGuard> self(this);
    soundServer::shared().whenReady([self, made](pa_context *context) {
        withSink(context, made.sink, [self, made](pa_context *context, const pa_sink_info *info) {
            if (!info)
                return; // the output is gone (unplugged): nothing to put back
            // Only what still reads as we left it: a person who muted or
            // turned down the output since then meant it.
            if (made.unmuted && !info->mute) {
                if (pa_operation *op = pa_context_set_sink_mute_by_index(context, info->index, 1, nullptr, nullptr))
                    pa_operation_unref(op);
            }
            if (made.raised && pa_cvolume_max(&info->volume) == made.volumeSet
                && made.volumeBefore.size() == int(sizeof(pa_cvolume))) {
                pa_cvolume before;
                memcpy(&before, made.volumeBefore.constData(), sizeof before);
                if (pa_cvolume_valid(&before) && before.channels == info->volume.channels) {
                    if (pa_operation *op =
                            pa_context_set_sink_volume_by_index(context, info->index, &before, nullptr, nullptr))
                        pa_operation_unref(op);
                }
            }
            deliver(self, [](outputGuard *guard) {
                emit guard->restored();
                guard->refresh();
            });
        });
    });
}

bool outputGuard::hasChanges() const
{
    return changed;
}

void outputGuard::onState(const Output &output)
{
    current = output;
    emit stateChanged();
}

void outputGuard::onChanged(const Change &made)
{
    audiblePending = false;
    change = made;
    changed = made.unmuted || made.raised;
    emit madeAudible(made.unmuted, made.raised);
    if (restoreWanted) {
        restoreWanted = false;
        restore();
    }
}

#include "moc_outputguard.cpp"
