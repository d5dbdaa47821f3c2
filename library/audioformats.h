#pragma once

#include <QStringList>

// The file suffixes the player adds and plays: what the tag library reads
// by name, and MPEG audio under the names it is recognised by content. The
// add dialog offers exactly these.
class audioFormats
{
public:
    // Lower case, without the dot, each once.
    static QStringList suffixes();
    // "*.mp3 *.wma …", for a file dialog's filter.
    static QString patterns();
};
