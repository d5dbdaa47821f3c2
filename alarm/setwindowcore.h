#pragma once

#include <QList>
#include <QObject>

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

    alarmList *alarms = nullptr;
    QTableWidget *table = nullptr;
    QList<musicInfo *> trackList;
};
