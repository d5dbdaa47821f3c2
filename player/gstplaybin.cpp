#include "player/gstplaybin.h"

#include "player/gsthandover.h"

#include <gst/gst.h>

namespace {

// playbin's GstPlayFlags: audio only, and the volume left to the sink, so
// that the sound server shows the level the player sets.
constexpr guint audioOnly = 1u << 1;

void onAboutToFinish(GstElement *playbin, gpointer data)
{
    // A streaming thread: only the handover is touched.
    const QByteArray uri = static_cast<gstHandover *>(data)->takeForStream();
    if (!uri.isEmpty())
        g_object_set(playbin, "uri", uri.constData(), nullptr);
}

// A withdrawn next track is already on its way; it ends the play where the
// sink would have started it, so that the last track is heard to its end.
GstPadProbeReturn onSinkEvent(GstPad *, GstPadProbeInfo *info, gpointer data)
{
    GstEvent *event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_STREAM_START || !static_cast<gstHandover *>(data)->endsAtThisStream())
        return GST_PAD_PROBE_OK;
    gst_event_unref(event);
    GST_PAD_PROBE_INFO_DATA(info) = gst_event_new_eos();
    return GST_PAD_PROBE_OK;
}

GstElement *makeSink()
{
    GstElement *sink = gst_element_factory_make("pulsesink", "output");
    if (!sink)
        return nullptr;
    GstStructure *properties = gst_structure_new(
        "properties", "media.role", G_TYPE_STRING, "music", "application.name", G_TYPE_STRING, gstPlaybin::clientName,
        "application.id", G_TYPE_STRING, "org.vurn.vurn", "application.icon_name", G_TYPE_STRING, "org.vurn.vurn", nullptr);
    g_object_set(sink, "client-name", gstPlaybin::clientName, "stream-properties", properties, nullptr);
    gst_structure_free(properties);
    return GST_ELEMENT(gst_object_ref_sink(sink));
}

} // namespace

gstPlaybin::gstPlaybin(gstHandover *handover)
{
    pipeline = gst_element_factory_make("playbin", "player");
    if (!pipeline)
        return;
    gst_object_ref_sink(pipeline);
    g_object_set(pipeline, "flags", audioOnly, nullptr);
    sink = makeSink();
    if (sink) {
        g_object_set(pipeline, "audio-sink", sink, nullptr);
        GstPad *pad = gst_element_get_static_pad(sink, "sink");
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, onSinkEvent, handover, nullptr);
        gst_object_unref(pad);
    }
    g_signal_connect(pipeline, "about-to-finish", G_CALLBACK(onAboutToFinish), handover);
    messages = gst_element_get_bus(pipeline);
}

gstPlaybin::~gstPlaybin()
{
    if (pipeline) {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(messages);
        gst_object_unref(pipeline);
    }
    if (sink)
        gst_object_unref(sink);
}
