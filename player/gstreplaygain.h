#pragma once

typedef struct _GstElement GstElement;

// The ReplayGain stage of the engine's output: the gain a track's tags ask
// for, a pre-amp, a fixed gain for untagged tracks, and a limiter so that
// raising a quiet track never clips. Switched off, the stage is left out of
// the output altogether.
class gstReplayGain
{
public:
    enum class Mode { Off, Track, Album };

    gstReplayGain();
    ~gstReplayGain();
    gstReplayGain(const gstReplayGain &) = delete;
    gstReplayGain &operator=(const gstReplayGain &) = delete;

    // The bin for playbin's audio filter; null when switched off or when the
    // plugins are missing.
    GstElement *filter() const { return current == Mode::Off ? nullptr : bin; }
    // The gains count at once; the mode when the filter is next put in place.
    void set(Mode mode, double preAmpDb, double untaggedDb);

private:
    GstElement *bin = nullptr;
    GstElement *volume = nullptr;
    Mode current = Mode::Off;
};
