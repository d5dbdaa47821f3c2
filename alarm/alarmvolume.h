#pragma once

// The player's volume around one alarm occurrence: what the person had set
// before the alarm put in its own, and whether the person has moved it since.
// The alarm's volume is the alarm's: once the occurrence ends, the person's
// comes back, unless they chose another while it rang.
class alarmVolume
{
public:
    // Marks the alarm's own volume changes (its setting, the fade-in, the
    // way back), so that they are not taken for the person's.
    class Own
    {
    public:
        explicit Own(alarmVolume &volume);
        ~Own();
        Own(const Own &) = delete;
        Own &operator=(const Own &) = delete;

    private:
        alarmVolume &volume;
    };

    // The alarm is about to set its volume; `currentPercent` is the person's.
    // An alarm that comes while another's volume is held keeps the first one's.
    void take(int currentPercent);
    bool isHeld() const;

    // Some volume change happened. True when it was the person's, made while
    // an alarm's volume is held: their choice then stands.
    bool noteChange();

    // The occurrence is over: the volume to go back to, or -1 when nothing
    // was held or the person's own choice stands.
    int release();

    // The volume that is the person's, to be stored: while an alarm's volume
    // is held, the one from before it.
    int personPercent(int currentPercent) const;

private:
    int before = -1;
    bool moved = false;
    int ownChanges = 0;
};
