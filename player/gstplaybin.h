#pragma once

typedef struct _GstElement GstElement;
typedef struct _GstBus GstBus;
class gstHandover;

// The playbin the engine drives: audio only, into one pulsesink that names
// the player on the sound server, with the handover wired to its streaming
// threads (the next file at about-to-finish, a withdrawn one ended at the
// sink). Owns the elements; the engine sets their states.
class gstPlaybin
{
public:
    explicit gstPlaybin(gstHandover *handover);
    ~gstPlaybin();
    gstPlaybin(const gstPlaybin &) = delete;
    gstPlaybin &operator=(const gstPlaybin &) = delete;

    // Null when GStreamer has no playbin.
    GstElement *element() const { return pipeline; }
    GstBus *bus() const { return messages; }
    // The pulsesink, or null when the plugin is missing (playbin then picks one).
    GstElement *output() const { return sink; }

    // The application's name on the sound server.
    static constexpr const char *clientName = "Vurn";

private:
    GstElement *pipeline = nullptr;
    GstElement *sink = nullptr;
    GstBus *messages = nullptr;
};
