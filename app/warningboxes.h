#pragma once

#include "library/loadreport.h"

#include <QHash>
#include <QObject>
#include <QString>

class QMessageBox;
class QWidget;

// The window's warning boxes, one of a kind at a time. Timers and queued
// commands go on inside an open box; a warning they ask for while a box with
// the same title is open goes into that box instead of opening another.
class warningBoxes : public QObject
{
    Q_OBJECT
public:
    explicit warningBoxes(QWidget *window);

    // Modal over the window with an OK button, as the commands' warnings are:
    // returns when it is answered, or at once when its kind is already open.
    void warn(const QString &title, const QString &text);
    // Files that could not be read: what fails while the box is open joins
    // it. Modal too, but not waited for: it comes at the end of work (an add,
    // a track starting) that a nested event loop must not run into.
    void tell(const loadReport &report);
    bool isOpen(const QString &title) const;

private:
    QWidget *window;
    QHash<QString, QMessageBox *> open;
    loadReport shownReport; // what the open box of unreadable files lists
};
