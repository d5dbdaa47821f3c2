#pragma once

#include <atomic>

typedef struct _GstElement GstElement;

// The ReplayGain stage of the engine's output: the gain a track's tags ask
// for, a pre-amp, a fixed gain for untagged tracks, and a limiter so that
// raising a quiet track never clips. Switched off, the tags are let by and
// the stage passes the sound unchanged.
class gstReplayGain
{
public:
    enum class Mode { Off, Track, Album };

    gstReplayGain();
    ~gstReplayGain();
    gstReplayGain(const gstReplayGain &) = delete;
    gstReplayGain &operator=(const gstReplayGain &) = delete;

    // The bin for playbin's audio filter; null when the plugins are missing.
    GstElement *filter() const { return bin; }
    // A change of mode counts from the next track; the gains at once.
    void set(Mode mode, double preAmpDb, double untaggedDb);

private:
    GstElement *bin = nullptr;
    GstElement *volume = nullptr;
    GstElement *limiter = nullptr;
    // Read by the streaming thread for each tag event.
    std::atomic<bool> ignoreTags{true};
};
