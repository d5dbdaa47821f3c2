#include "engine/trackloader.h"

#include "engine/playlist.h"
#include "engine/vurncore.h"

#include <QProgressDialog>
#include <QTimer>

#include <limits>

trackLoader::trackLoader(vurnCore *player, QWidget *parentForDialog, QObject *parent)
    : QObject(parent), core(player), dialogParent(parentForDialog)
{
    sliceTimer = new QTimer(this);
    sliceTimer->setSingleShot(true);
    sliceTimer->setInterval(0);
    connect(sliceTimer, &QTimer::timeout, this, &trackLoader::runSlice);
}

trackLoader::~trackLoader()
{
    delete progress;
}

void trackLoader::addFiles(const QStringList &paths)
{
    add(musicInfo::entriesFor(paths));
}

void trackLoader::add(const QList<storedTrack> &entries)
{
    if (entries.isEmpty())
        return;
    queue += entries;
    total += entries.size();
    if (busy) {
        updateProgress();
        return;
    }
    busy = true;
    running.start();
    runSlice(); // the first slice at once: a small add is done before this returns
}

bool trackLoader::isBusy() const
{
    return busy;
}

QProgressDialog *trackLoader::progressDialog() const
{
    return progress;
}

void trackLoader::runSlice()
{
    if (!busy)
        return;
    if (progress && progress->wasCanceled()) {
        cancel();
        return;
    }
    const int before = core->playlist->size();
    QElapsedTimer slice;
    slice.start();
    while (next < queue.size() && slice.elapsed() < sliceMsec) {
        core->addEntry(queue.at(next++), report);
        ++done;
    }
    if (core->playlist->size() > before) {
        core->showNewTracks(before);
        emit tracksAdded();
    }
    if (next >= queue.size()) {
        complete();
        return;
    }
    updateProgress();
    sliceTimer->start();
}

void trackLoader::updateProgress()
{
    if (!progress) {
        // Only for work that takes a while: judged by how long the slices so
        // far took for how many files.
        const qint64 elapsed = running.elapsed();
        const double estimate = done > 0 ? double(elapsed) * total / done : 0.0;
        if (elapsed < progressDelayMsec && estimate < progressDelayMsec)
            return;
        progress = new QProgressDialog(dialogParent);
        progress->setWindowTitle(QStringLiteral("Vurn"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setCancelButtonText(tr("キャンセル"));
        progress->setMinimumDuration(0);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        connect(progress, &QProgressDialog::canceled, this, &trackLoader::cancel);
    }
    progress->setMaximum(total);
    progress->setValue(done);
    progress->setLabelText(tr("曲を追加しています…") + QLatin1Char('\n')
                           + tr("%1 / %2 曲").arg(done).arg(total));
}

void trackLoader::finishNow()
{
    if (!busy)
        return;
    const int usual = sliceMsec;
    sliceMsec = std::numeric_limits<int>::max();
    runSlice();
    sliceMsec = usual;
}

void trackLoader::cancel()
{
    if (!busy)
        return;
    queue.erase(queue.begin() + next, queue.end());
    complete();
}

void trackLoader::complete()
{
    sliceTimer->stop();
    busy = false;
    queue.clear();
    next = 0;
    done = 0;
    total = 0;
    if (progress) {
        progress->hide();
        progress->deleteLater();
        progress = nullptr;
    }
    // One box for the whole command, after the rows are in.
    const loadReport finishedReport = report;
    report = loadReport();
    finishedReport.show(dialogParent);
    emit finished();
}
