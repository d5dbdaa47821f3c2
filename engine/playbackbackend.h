#pragma once

#include <QByteArray>
#include <QString>

// How the player sets up the media framework before its first media object:
// the restore id its streams carry on the sound server, and the backend's
// settings that the player relies on.
class playbackBackend
{
public:
    // Once per process, before any media object or audio output exists.
    static void prepare();

    // The id under which the sound server remembers the volume of the player's
    // streams: the player's own, shared with no other program.
    static QByteArray streamRestoreId();

    // The backend configuration written for this process, or empty when the
    // person's own configuration is used as it is.
    static QString configFile();
};
