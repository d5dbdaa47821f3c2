#pragma once

#include <QString>

// The XDG autostart entry that starts the player, in its tray, when the
// person logs in: ~/.config/autostart/org.vurn.vurn.desktop.
class autostartEntry
{
public:
    // `folder` is the autostart folder; empty means the user's own.
    explicit autostartEntry(const QString &folder = QString());

    QString filePath() const;
    // Present and not hidden by the desktop's own session settings.
    bool isEnabled() const;
    // Writes the entry to start `executable` (whole, atomically) or removes it.
    bool setEnabled(bool enabled, const QString &executable);
    // The entry's text; the command is quoted as the desktop entry format asks.
    static QString entryText(const QString &executable);
    static QString quotedArgument(const QString &argument);

    static constexpr const char *trayOption = "--tray";

private:
    QString folder;
};
