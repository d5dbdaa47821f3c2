#pragma once

#include <QString>

// Files that come with the program: the read-me, the local page, the alarm
// tone. A build tree or a portable copy has them beside the executable; an
// installed copy in "share/vurn" next to its "bin".
class shippedFiles
{
public:
    // The absolute path of the file, or an empty string when it is not shipped.
    static QString find(const QString &name);
};
