#pragma once

#include "library/loadreport.h"
#include "library/musicinfo.h"
#include "library/tagprefetcher.h"
#include "library/textpool.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QVector>

#include <atomic>
#include <functional>
#include <thread>

class QProgressBar;
class QProgressDialog;
class QTimer;
class QWidget;
class vurnCore;

// Adds many tracks without freezing the window: worker threads read the
// files' tags ahead, the GUI thread turns the readings into rows in short
// slices, in order, and the event loop runs between them (repaints, the
// position timer, the alarm check); a progress dialog with a cancel button
// shows when the work is long. Small adds are read on the GUI thread and
// finish inside the call that starts them.
//
// Nothing here runs a nested event loop (the dialog is updated without its
// own processEvents), and whatever listens to the signals may cancel, finish
// or add again from inside them: a slice checks afterwards whether its run
// is still the one going on.
class trackLoader : public QObject
{
    Q_OBJECT
public:
    explicit trackLoader(vurnCore *core, QWidget *dialogParent, QObject *parent = nullptr);
    ~trackLoader() override;

    // Queues the entries behind any still being added.
    void add(const QList<storedTrack> &entries);
    // Entries that take a while to come by (a large saved playlist to parse):
    // `read` runs on a worker thread while the window goes on, then its
    // entries are added ahead of anything queued meanwhile. Busy from now.
    void addRead(std::function<QList<storedTrack>()> read);
    // Files named by the user; `earlier` holds what already failed in the same
    // command (entries of a playlist file), told in the same box.
    void addFiles(const QStringList &paths, const loadReport &earlier = loadReport());
    bool isBusy() const;
    // Adds everything still queued at once (the state is about to be saved).
    void finishNow();
    // Drops what is still queued; what was added stays.
    void cancel();
    // The entries queued but not added yet, in order (a list still being
    // parsed is waited for): what the list will hold once the add is through.
    QList<storedTrack> remainingEntries();

    // Whether the playlist row `row` is there, or no more rows are coming.
    bool rowIsIn(int row) const;
    // Runs `work` once row `row` is in (or the add ends without it), after
    // the slice that brought it and never inside it; at once when it is in
    // already. One wait at a time: a new one, or dropWaiting, drops the last.
    void whenRowIn(int row, QObject *context, std::function<void()> work);
    void dropWaiting();
    bool isWaiting() const;

    // For tests: while held, no further slice runs on its own (finishNow and
    // cancel still work), so that something can happen mid-way through an add.
    void setHeld(bool held);

    int sliceMsec = 40;         // reading time per slice
    int sliceRows = 0;          // for tests: at most this many entries a slice; 0 for no limit
    int progressDelayMsec = 500; // no dialog for work shorter than this
    int prefetchFrom = 16;       // adds of at least this many files read ahead
    QProgressDialog *progressDialog() const;
    // Who hears of the files a run could not read; unset, a box over the
    // dialog parent.
    std::function<void(const loadReport &)> tellFailures;

Q_SIGNALS:
    void tracksAdded();
    void finished();

private:
    void runSlice();
    void addSlice(bool toTheEnd);
    void complete();
    void updateProgress();
    void checkWaiting();
    // Takes the entries of a finished read into the queue, in front.
    void takeRead();
    void tell(const loadReport &failures) const;

    vurnCore *core;
    QPointer<QWidget> dialogParent;
    QList<storedTrack> queue;
    QVector<int> tickets; // per queued entry: its reading ahead, or -1
    tagPrefetcher prefetcher;
    int next = 0;  // first queued entry not read yet
    int done = 0;  // entries read in this run
    // Artists, albums and years of this run: tracks of one album share them.
    textPool shared;
    int total = 0; // entries queued in this run
    loadReport report;
    QTimer *sliceTimer = nullptr;
    QPointer<QProgressDialog> progress;
    QPointer<QProgressBar> progressBar; // set directly: the dialog's setValue runs the event loop
    QElapsedTimer running;
    bool busy = false;
    bool held = false;
    bool slicing = false;
    int run = 0; // counts the runs ended, so a slice sees it was ended from a signal
    int waitedRow = -1;
    int waitTicket = 0;
    QPointer<QObject> waitContext;
    std::function<void()> waitWork;
    std::thread reader;
    std::atomic<bool> readDone{false};
    bool reading = false;
    QList<storedTrack> readEntries; // written by the reader until readDone
};
