#pragma once

#include "library/musicinfo.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

namespace Ui {
class setWindow;
}
class QPushButton;
class fileDialogFolder;
class QWidget;

// The settings window's tab of saved playlists: the names, the selected
// one's contents and totals, and loading, appending, overwriting, deleting,
// renaming, saving under a new name and writing for other players.
class playlistTab : public QObject
{
    Q_OBJECT
public:
    playlistTab(Ui::setWindow *ui, QWidget *window);

    // The main window's list, read when saving.
    std::function<QList<musicInfo *>()> currentTracks;
    // Entries of that list still being added, saved after its tracks.
    std::function<QList<storedTrack>()> stillComing;
    // How many alarms name a playlist (asked before deleting it).
    std::function<int(const QString &)> alarmsNaming;
    // Where "書き出す…" writes; a file dialog unless a test answers.
    std::function<QString()> askExportPath;
    // The player's last-used folder, shared with its other file dialogs;
    // without one the dialog starts in the music folder or home.
    fileDialogFolder *dialogFolder = nullptr;

    void refresh();
    QString selectedName() const;
    void select(const QString &name);

    // The commands, as the buttons run them.
    void load(bool append);
    void overwrite();
    void remove();
    void rename();
    void saveNew();
    void exportSelected();

    QPushButton *appendButton = nullptr;
    QPushButton *renameButton = nullptr;
    QPushButton *exportButton = nullptr;

Q_SIGNALS:
    void loadRequested(const QList<storedTrack> &tracks, bool append, const QString &name);
    void renamed(const QString &from, const QString &to);
    // A playlist was saved or deleted: the alarms' choices follow.
    void namesChanged();

private:
    void showContents();
    // Taken when the command starts: a question box runs the event loop, and
    // an alarm may put its own playlist in place of the list meanwhile.
    QList<storedTrack> currentEntries() const;
    bool confirm(const QString &title, const QString &text);
    void warn(const QString &title, const QString &text);

    Ui::setWindow *ui;
    QWidget *window;
};
