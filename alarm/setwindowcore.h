#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QTableWidget;
class alarmList;
class alarmOne;
class musicInfo;

// The object behind the settings window's alarm table: holds the working alarm
// list, builds rows from alarms and alarms from rows.
class setWindowCore : public QObject
{
    Q_OBJECT
public:
    explicit setWindowCore(QObject *parent = nullptr);
    ~setWindowCore() override;

    void setTable(QTableWidget *alarmTable);
    void replaceAlarmList(alarmList *list);
    void setTrackList(const QList<musicInfo *> &tracks);
    int rowCount() const;
    bool isEmpty() const;
    bool isValidRow(int row) const;
    void clearRows();
    bool removeRows(int first, int last);
    void addBlankRow();
    void addAlarmRow(const alarmOne *alarm);
    void fillTable();
    void readTable();
    // The alarms as the rows show them now, in a new list of `parent`'s;
    // the working list is left as it is.
    alarmList *rowsAsAlarms(QObject *parent) const;
    // The rows hold edits that ok has not yet made the working list.
    bool rowsDifferFromAlarms() const;

    // Saved playlists came, went or were renamed: the alarms (in effect and
    // in the table) follow a rename, and every row's chooser offers the names.
    void renamePlayList(const QString &from, const QString &to);
    void refreshPlayListChoices();
    // Alarms in effect or in the table that name the playlist.
    int alarmsNaming(const QString &name) const;

Q_SIGNALS:
    // A row was added, removed or changed by the person (or a rename).
    void rowsEdited();

public:
    alarmList *alarms = nullptr;
    QTableWidget *table = nullptr;
    QList<musicInfo *> trackList;

private:
    void readRowsInto(alarmList *list) const;

    bool filling = false;
};
