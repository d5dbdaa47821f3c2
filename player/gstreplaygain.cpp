#include "player/gstreplaygain.h"

#include <gst/gst.h>

#include <initializer_list>

namespace {

void addGhostPad(GstElement *bin, GstElement *inner, const char *name)
{
    GstPad *pad = gst_element_get_static_pad(inner, name);
    gst_element_add_pad(bin, gst_ghost_pad_new(name, pad));
    gst_object_unref(pad);
}

} // namespace

gstReplayGain::gstReplayGain()
{
    // The gain is computed in floating point: converters on both sides.
    GstElement *in = gst_element_factory_make("audioconvert", nullptr);
    volume = gst_element_factory_make("rgvolume", nullptr);
    GstElement *limiter = gst_element_factory_make("rglimiter", nullptr);
    GstElement *out = gst_element_factory_make("audioconvert", nullptr);
    if (!in || !volume || !limiter || !out) {
        for (GstElement *element : {in, volume, limiter, out})
            if (element)
                gst_object_unref(gst_object_ref_sink(element));
        volume = nullptr;
        return;
    }
    bin = GST_ELEMENT(gst_object_ref_sink(gst_bin_new("replaygain")));
    gst_bin_add_many(GST_BIN(bin), in, volume, limiter, out, nullptr);
    gst_element_link_many(in, volume, limiter, out, nullptr);
    addGhostPad(bin, in, "sink");
    addGhostPad(bin, out, "src");
    set(Mode::Off, 0.0, 0.0);
}

gstReplayGain::~gstReplayGain()
{
    if (bin)
        gst_object_unref(bin);
}

void gstReplayGain::set(Mode mode, double preAmpDb, double untaggedDb)
{
    if (!bin)
        return;
    current = mode;
    g_object_set(volume, "album-mode", mode == Mode::Album, "pre-amp", preAmpDb, "fallback-gain", untaggedDb, nullptr);
}
