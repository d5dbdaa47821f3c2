#pragma once

#include <QString>

// QSettings shares what it parsed of a file among all its objects in the
// process, whatever their format; a test that reads the state files as QSettings'
// own INI format (as older versions and other tools do) reads a fresh copy.
class IniSnapshot
{
public:
    // The path of a copy of `path` made now, under a name never used before.
    static QString of(const QString &path);
};
