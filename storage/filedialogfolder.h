#pragma once

#include <QString>

// Where the player's file dialogs open: the folder last used in any of them
// while it still exists, else the user's music folder, else home. Kept in
// "Vurn.ini" so that the next start opens there too.
class fileDialogFolder
{
public:
    explicit fileDialogFolder(const QString &lastUsed = QString());

    QString startFolder() const;
    // A start for a save dialog: the file name in the start folder.
    QString startPath(const QString &fileName) const;
    // The folder of a file (or the folder) chosen in a dialog.
    void remember(const QString &chosen);
    QString lastUsed() const { return last; }

    // The desktop's music folder when it exists, else home.
    static QString fallback();

private:
    QString last;
};
