#pragma once

#include <QByteArray>
#include <QString>

// The built-in alarm tone: a short WAV of two-tone beeps that the ringer
// loops when an alarm finds nothing it can play.
class alarmTone
{
public:
    // The tone as a complete 16-bit mono WAV file.
    static QByteArray wavData();
    // Writes the tone to `path` (through a temporary file); false on failure.
    static bool writeTo(const QString &path);
    // The tone file to play: the one shipped beside the executable or in the
    // installed data folder, else a copy written to the cache folder now.
    // Empty only when none exists and none can be written.
    static QString filePath();

    static const char *fileName() { return "alarm-tone.wav"; }
};
