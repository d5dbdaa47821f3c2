#pragma once

#include <QString>

// What one file's tags and header say, read without any QObject so that it
// can run on any thread: the tag library reads different files safely in
// parallel.
struct tagReading
{
    bool exists = false;
    // Untranslated reason the file cannot be used; null when it can.
    const char *failure = nullptr;
    bool failureIsLength = false; // no length the tag library can tell
    QString title;                // empty when the tag has none
    QString artist;
    QString album;
    QString year;
    qint32 lengthMsec = 0;
    qint64 size = -1;
    qint64 modifiedMsec = -1;
};

class tagReader
{
public:
    static tagReading read(const QString &path);
    // Size and modification time (ms since the epoch) of a regular file.
    static bool stamp(const QString &path, qint64 &size, qint64 &modifiedMsec);
};
