#pragma once

#include "storage/vurnsettings.h"

#include <QString>

// Opens a state file through vurnSettings for reading only: the destructor's
// Version write is skipped so that checking a file never changes it.
class SettingsReader
{
public:
    explicit SettingsReader(const QString &dir, const QString &name = QStringLiteral("Vurn"));
    ~SettingsReader();

    vurnSettings settings;
};
