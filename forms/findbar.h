#pragma once

#include "playlist/trackfilter.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QTableView;
class QToolButton;
class vurnCore;

// The search field above the playlist table. Typing narrows the table to the
// matching tracks by hiding the others; the playlist itself, and so playing,
// the play modes and the edits, keep acting on every track in its order.
class findBar : public QWidget
{
    Q_OBJECT
public:
    findBar(vurnCore *core, QTableView *table, QWidget *parent = nullptr);

    // Shown with the field focused and its text selected.
    void open();
    // Cleared and hidden: every row shows again.
    void close();
    // The table changed (rows added, moved or removed): narrows it again.
    void refilter(bool tracksRemoved = false);
    bool isNarrowed() const;
    // Narrowing a long list runs in slices between events; this completes it.
    void finishNow();
    bool isBusy() const { return pendingFrom >= 0; }
    int shownCount() const { return shown; }
    int firstShownRow() const;
    QLineEdit *field() const { return edit; }

Q_SIGNALS:
    // Enter in the field: the first shown track.
    void playRequested(int row);
    // The shown rows changed.
    void narrowed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onTextEdited(const QString &text);
    void apply();
    void runSlice(bool toTheEnd);
    void moveIntoTable(bool fromTop);

    vurnCore *core;
    QTableView *table;
    QLineEdit *edit = nullptr;
    QLabel *result = nullptr;
    QToolButton *closeButton = nullptr;
    trackFilter filter;
    int shown = 0;
    int counted = 0;      // matches so far in this pass
    int pendingFrom = -1; // first row this pass has not reached; -1 when done
    class QTimer *sliceTimer = nullptr;
};
