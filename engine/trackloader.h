#pragma once

#include "engine/loadreport.h"
#include "engine/musicinfo.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>

class QProgressDialog;
class QTimer;
class QWidget;
class vurnCore;

// Adds many tracks without freezing the window: the files are read in short
// slices on the GUI thread, the event loop runs between them (repaints, the
// position timer, the alarm check), rows appear in order as they are read,
// and a progress dialog with a cancel button shows when the work is long.
// Small adds finish inside the call that starts them.
class trackLoader : public QObject
{
    Q_OBJECT
public:
    explicit trackLoader(vurnCore *core, QWidget *dialogParent, QObject *parent = nullptr);
    ~trackLoader() override;

    // Queues the entries behind any still being added.
    void add(const QList<storedTrack> &entries);
    void addFiles(const QStringList &paths);
    bool isBusy() const;
    // Adds everything still queued at once (the state is about to be saved).
    void finishNow();
    // Drops what is still queued; what was added stays.
    void cancel();

    int sliceMsec = 40;         // reading time per slice
    int progressDelayMsec = 500; // no dialog for work shorter than this
    QProgressDialog *progressDialog() const;

Q_SIGNALS:
    void tracksAdded();
    void finished();

private:
    void runSlice();
    void complete();
    void updateProgress();

    vurnCore *core;
    QPointer<QWidget> dialogParent;
    QList<storedTrack> queue;
    int next = 0;  // first queued entry not read yet
    int done = 0;  // entries read in this run
    int total = 0; // entries queued in this run
    loadReport report;
    QTimer *sliceTimer = nullptr;
    QProgressDialog *progress = nullptr;
    QElapsedTimer running;
    bool busy = false;
};
