#include "support/settingsreader.h"

#include <QSettings>

SettingsReader::SettingsReader(const QString &dir, const QString &name)
{
    vurnSettings::setStateDirectoryOverride(dir);
    QString n = name;
    settings.openFile(n);
}

SettingsReader::~SettingsReader()
{
    delete settings.store;
    settings.store = nullptr;
}
