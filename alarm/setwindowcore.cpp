#include "alarm/setwindowcore.h"

#include "alarm/alarmlist.h"
#include "alarm/alarmone.h"
#include "storage/storedchoice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableWidget>

#include <memory>

namespace {

// Column layout of the alarm table; one cell widget per alarm setting.
enum Column {
    ColEnabled = 0,
    ColHour = 1,
    ColMinute = 2,
    ColMonday = 3, // .. ColMonday + 6 is Sunday
    ColPlayList = 10,
    ColPlayMode = 11,
    ColFirstPlay = 12,
    ColInterrupt = 13,
    ColVolume = 14,
    ColVolumeControl = 15,
    ColumnCount = 16
};

} // namespace

setWindowCore::setWindowCore(QObject *parent)
    : QObject(parent), alarms(new alarmList(this))
{
}

setWindowCore::~setWindowCore()
{
    trackList.clear();
}

void setWindowCore::setTable(QTableWidget *alarmTable)
{
    table = alarmTable;
}

void setWindowCore::replaceAlarmList(alarmList *list)
{
    // A null list would leave the scheduler without one; handing back the list
    // already held must not delete it.
    if (!list || list == alarms)
        return;
    alarmList *old = alarms;
    list->setParent(this);
    alarms = list;
    delete old;
}

void setWindowCore::setTrackList(const QList<musicInfo *> &tracks)
{
    trackList = tracks;
}

int setWindowCore::rowCount() const
{
    return table ? table->rowCount() : 0;
}

bool setWindowCore::isEmpty() const
{
    return rowCount() == 0;
}

bool setWindowCore::isValidRow(int row) const
{
    return row >= 0 && row < rowCount();
}

void setWindowCore::clearRows()
{
    if (!table)
        return;
    table->setRowCount(0);
    if (!filling)
        emit rowsEdited();
}

bool setWindowCore::removeRows(int first, int last)
{
    if (!isValidRow(first) || !isValidRow(last) || first > last)
        return false;
    for (int row = last; row >= first; --row)
        table->removeRow(row);
    emit rowsEdited();
    return true;
}

namespace {

QCheckBox *newCheck(QTableWidget *table, int row, int column, bool checked)
{
    auto *box = new QCheckBox(table);
    box->setChecked(checked);
    table->setCellWidget(row, column, box);
    return box;
}

// The width a chooser needs for its widest item, as the style frames it.
// Every row has the same items per column, so it is worked out once.
QSize chooserSize(const QComboBox *box, const QStringList &items)
{
    static QHash<QString, QSize> known;
    // The shown words are in the key: they change with the language.
    const QString key = box->font().key() + QLatin1Char('|') + QString::number(items.size())
                        + QLatin1Char('|') + items.value(0) + QLatin1Char('|') + items.value(items.size() - 1);
    const auto found = known.constFind(key);
    if (found != known.constEnd())
        return *found;
    const QFontMetrics metrics = box->fontMetrics();
    int widest = 0;
    for (const QString &item : items)
        widest = qMax(widest, metrics.horizontalAdvance(item));
    QStyleOptionComboBox option;
    option.initFrom(box);
    option.frame = box->hasFrame();
    // The style's own hint for an empty chooser holds the frame and the arrow.
    const QSize size = box->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                      QSize(widest, metrics.height()), box);
    known.insert(key, size);
    return size;
}

// Fills a fresh chooser with the words of the stored `items`, each item
// holding its stored text as data; the item whose stored text equals
// `current` exactly becomes current, otherwise the first item stays current.
// The column and the row grow to show the widest item whole at the font.
QComboBox *newChooser(QTableWidget *table, int row, int column, const QStringList &items,
                      const QString *current)
{
    auto *box = new QComboBox(table);
    QStringList shown;
    for (const QString &item : items) {
        shown << storedChoice::shown(item);
        box->addItem(shown.last(), item);
    }
    if (current) {
        const int index = items.indexOf(*current);
        if (index >= 0)
            box->setCurrentIndex(index);
    }
    // Measured at the font it will show, a style sheet's included.
    box->ensurePolished();
    const QSize size = chooserSize(box, shown);
    if (table->columnWidth(column) < size.width())
        table->setColumnWidth(column, size.width());
    if (table->rowHeight(row) < size.height())
        table->setRowHeight(row, size.height());
    table->setCellWidget(row, column, box);
    return box;
}

bool checkedAt(const QTableWidget *table, int row, int column)
{
    auto *box = qobject_cast<QCheckBox *>(table->cellWidget(row, column));
    return box && box->isChecked();
}

// The stored text of a chooser's current item.
QString textAt(const QTableWidget *table, int row, int column)
{
    auto *box = qobject_cast<QComboBox *>(table->cellWidget(row, column));
    return box ? box->currentData().toString() : QString();
}

void fillChoices(QComboBox *box, const QStringList &items)
{
    for (const QString &item : items)
        box->addItem(storedChoice::shown(item), item);
}

} // namespace

void setWindowCore::addBlankRow()
{
    addAlarmRow(nullptr);
}

void setWindowCore::addAlarmRow(const alarmOne *alarm)
{
    if (!table)
        return;
    if (table->columnCount() < ColumnCount)
        table->setColumnCount(ColumnCount);

    const int row = table->rowCount();
    table->setRowCount(row + 1);

    // A blank row is an enabled alarm with every other setting at its default.
    newCheck(table, row, ColEnabled, alarm ? alarm->enabled : true);
    newChooser(table, row, ColHour, alarmList::hourItems(), alarm ? &alarm->hour : nullptr);
    newChooser(table, row, ColMinute, alarmList::minuteItems(), alarm ? &alarm->minute : nullptr);
    for (int day = 0; day < 7; ++day)
        newCheck(table, row, ColMonday + day, alarm ? alarm->week[day] : false);
    // A playlist that is gone stays the alarm's choice (it rings with the
    // main window's list and says so) until another is chosen.
    QStringList playLists = alarmList::playListItems();
    if (alarm && !alarm->playListName.isEmpty() && !playLists.contains(alarm->playListName))
        playLists << alarm->playListName;
    newChooser(table, row, ColPlayList, playLists, alarm ? &alarm->playListName : nullptr);
    newChooser(table, row, ColPlayMode, alarmList::playModeItems(trackList.size()),
               alarm ? &alarm->playMode : nullptr);
    newCheck(table, row, ColFirstPlay, alarm ? alarm->firstPlay : false);
    newCheck(table, row, ColInterrupt, alarm ? alarm->interrupt : false);
    newChooser(table, row, ColVolume, alarmList::volumeItems(), alarm ? &alarm->volume : nullptr);
    newChooser(table, row, ColVolumeControl, alarmList::volumeControlItems(),
               alarm ? &alarm->volumeControl : nullptr);
    for (int column = 0; column < ColumnCount; ++column) {
        QWidget *cell = table->cellWidget(row, column);
        if (auto *check = qobject_cast<QCheckBox *>(cell))
            connect(check, &QCheckBox::toggled, this, &setWindowCore::rowsEdited);
        else if (auto *chooser = qobject_cast<QComboBox *>(cell))
            connect(chooser, &QComboBox::currentTextChanged, this, &setWindowCore::rowsEdited);
    }
    if (!filling)
        emit rowsEdited();
}

void setWindowCore::fillTable()
{
    // One notice for the whole table, not one per row.
    filling = true;
    clearRows();
    for (const alarmOne *alarm : *alarms)
        addAlarmRow(alarm);
    filling = false;
    emit rowsEdited();
}

void setWindowCore::readTable()
{
    if (!table)
        return;
    // The dropped alarms stay children of the list until it is destroyed.
    alarms->clear();
    readRowsInto(alarms);
    emit rowsEdited();
}

alarmList *setWindowCore::rowsAsAlarms(QObject *parent) const
{
    auto *list = new alarmList(parent);
    readRowsInto(list);
    return list;
}

bool setWindowCore::rowsDifferFromAlarms() const
{
    if (!table)
        return false;
    if (table->rowCount() != alarms->size())
        return true;
    const std::unique_ptr<alarmList> rows(rowsAsAlarms(nullptr));
    for (int row = 0; row < rows->size(); ++row) {
        if (!rows->at(row)->sameSettings(*alarms->at(row)))
            return true;
    }
    return false;
}

void setWindowCore::readRowsInto(alarmList *list) const
{
    if (!table)
        return;
    const int rows = table->rowCount();
    for (int row = 0; row < rows; ++row) {
        auto *alarm = new alarmOne(list);
        alarm->enabled = checkedAt(table, row, ColEnabled);
        alarm->hour = textAt(table, row, ColHour);
        alarm->minute = textAt(table, row, ColMinute);
        for (int day = 0; day < 7; ++day)
            alarm->week[day] = checkedAt(table, row, ColMonday + day);
        alarm->playListName = textAt(table, row, ColPlayList);
        alarm->playMode = textAt(table, row, ColPlayMode);
        alarm->firstPlay = checkedAt(table, row, ColFirstPlay);
        alarm->interrupt = checkedAt(table, row, ColInterrupt);
        alarm->volume = textAt(table, row, ColVolume);
        alarm->volumeControl = textAt(table, row, ColVolumeControl);
        list->append(alarm);
    }
}


void setWindowCore::renamePlayList(const QString &from, const QString &to)
{
    for (alarmOne *alarm : *alarms) {
        if (alarm->playListName == from)
            alarm->playListName = to;
    }
    if (!table)
        return;
    for (int row = 0; row < table->rowCount(); ++row) {
        auto *box = qobject_cast<QComboBox *>(table->cellWidget(row, ColPlayList));
        if (box && box->currentData().toString() == from) {
            if (box->findData(to) < 0)
                box->addItem(storedChoice::shown(to), to);
            box->setCurrentIndex(box->findData(to));
        }
    }
    refreshPlayListChoices();
}

void setWindowCore::refreshPlayListChoices()
{
    if (!table)
        return;
    const QStringList items = alarmList::playListItems();
    for (int row = 0; row < table->rowCount(); ++row) {
        auto *box = qobject_cast<QComboBox *>(table->cellWidget(row, ColPlayList));
        if (!box)
            continue;
        const QString current = box->currentData().toString();
        QStringList choices = items;
        // A name that is gone stays this row's choice until another is made.
        if (!current.isEmpty() && !choices.contains(current))
            choices << current;
        const QSignalBlocker quiet(box);
        box->clear();
        fillChoices(box, choices);
        box->setCurrentIndex(qMax(0, choices.indexOf(current)));
    }
}

int setWindowCore::alarmsNaming(const QString &name) const
{
    int count = 0;
    for (const alarmOne *alarm : *alarms)
        count += alarm->playListName == name ? 1 : 0;
    if (table) {
        int inTable = 0;
        for (int row = 0; row < table->rowCount(); ++row)
            inTable += textAt(table, row, ColPlayList) == name ? 1 : 0;
        count = qMax(count, inTable);
    }
    return count;
}

#include "moc_setwindowcore.cpp"
