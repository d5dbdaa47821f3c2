#pragma once

#include "playlistfiles/playlistformat.h"

// PLS: File1=..., File2=..., read in the order of their numbers; never
// written.
class plsPlaylist : public playlistFormat
{
public:
    void read(const QString &path, const QByteArray &bytes, playlistReading &reading) const override;
};
