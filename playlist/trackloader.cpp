#include "playlist/trackloader.h"

#include "playlist/playlist.h"
#include "playlist/vurncore.h"

#include <QFileInfo>
#include <QProgressBar>
#include <QProgressDialog>
#include <QTimer>

#ifdef __GLIBC__
#include <malloc.h>
#endif


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
    if (reader.joinable())
        reader.join();
    delete progress;
}

void trackLoader::addFiles(const QStringList &paths, const loadReport &earlier)
{
    report.append(earlier);
    // Named by the user (a dialog, a drop, the command line): a path that is
    // not there is told, unlike a vanished track of the saved playlist.
    QStringList present;
    for (const QString &path : paths) {
        if (QFileInfo::exists(path))
            present << path;
        else
            report.add(path, tr("ファイルが見つかりません。"));
    }
    if (present.isEmpty() && !busy) {
        const loadReport missing = report;
        report = loadReport();
        tell(missing);
        return;
    }
    add(musicInfo::entriesFor(present));
}

void trackLoader::add(const QList<storedTrack> &entries)
{
    if (entries.isEmpty())
        return;
    // Files known by path alone are read ahead when there are many of them;
    // stamped entries are mostly rebuilt from what was kept, which is quick.
    const bool readAhead = busy || entries.size() >= prefetchFrom;
    QStringList unread;
    for (const storedTrack &entry : entries) {
        if (readAhead && entry.size < 0)
            unread << entry.file;
    }
    int ticket = unread.isEmpty() ? -1 : prefetcher.enqueueAll(unread);
    for (const storedTrack &entry : entries)
        tickets.append(readAhead && entry.size < 0 ? ticket++ : -1);
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

void trackLoader::addRead(std::function<QList<storedTrack>()> read)
{
    if (reading)
        takeRead(); // one read at a time; the earlier one goes first
    reading = true;
    readDone = false;
    if (!busy) {
        busy = true;
        running.start();
    }
    reader = std::thread([this, read] {
        readEntries = read();
        readDone = true;
        // Queued to this object: dropped if it is gone, which waits for this thread first.
        QMetaObject::invokeMethod(this, [this] {
            if (reading) {
                takeRead();
                sliceTimer->start(); // the first slice after the events that came meanwhile
            }
        }, Qt::QueuedConnection);
    });
}

void trackLoader::takeRead()
{
    if (!reading)
        return;
    reader.join();
    reading = false;
    const QList<storedTrack> entries = std::move(readEntries);
    readEntries.clear();
    QStringList unread;
    for (const storedTrack &entry : entries) {
        if (entry.size < 0)
            unread << entry.file;
    }
    // One hand-over for all: the readers wake once, not once a file.
    int ticket = unread.isEmpty() ? -1 : prefetcher.enqueueAll(unread);
    QVector<int> ahead;
    ahead.reserve(entries.size());
    for (const storedTrack &entry : entries)
        ahead.append(entry.size < 0 ? ticket++ : -1);
    // In front of what was queued while reading, behind what is added already.
    if (queue.isEmpty()) {
        queue = entries; // shared, not copied entry by entry
        tickets = ahead;
    } else {
        queue = queue.mid(0, next) + entries + queue.mid(next);
        tickets = tickets.mid(0, next) + ahead + tickets.mid(next);
    }
    total += entries.size();
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
    // A slice started from inside another would take entries from under it.
    if (!busy || held || slicing)
        return;
    if (reading && !readDone)
        return; // the read's arrival starts the slices again
    takeRead();
    if (progress && progress->wasCanceled()) {
        cancel();
        return;
    }
    addSlice(false);
}

void trackLoader::addSlice(bool toTheEnd)
{
    const int before = core->playlist->size();
    const int thisRun = run;
    const int last = toTheEnd || sliceRows <= 0 ? queue.size() : qMin(queue.size(), next + sliceRows);
    QElapsedTimer slice;
    slice.start();
    slicing = true;
    while (next < last) {
        const qint64 left = sliceMsec - slice.elapsed();
        if (!toTheEnd && left <= 0)
            break;
        const int ticket = tickets.at(next);
        if (ticket >= 0) {
            tagReading reading;
            // Not read yet: the next slice waits again, the event loop runs between.
            if (!prefetcher.take(ticket, reading, toTheEnd ? -1 : int(left)))
                break;
            shared.share(reading.artist);
            shared.share(reading.album);
            shared.share(reading.year);
            core->addReading(queue.at(next).file, reading, report);
        } else {
            core->addEntry(queue.at(next), report);
        }
        ++next;
        ++done;
    }
    slicing = false;
    if (core->playlist->size() > before) {
        core->showNewTracks(before);
        emit tracksAdded();
        // Whoever heard of the new rows may have cancelled, finished or even
        // started another add: this slice is over either way.
        if (run != thisRun || !busy)
            return;
    }
    if (next >= queue.size()) {
        complete();
        return;
    }
    updateProgress();
    checkWaiting();
    if (!held)
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
        progressBar = new QProgressBar(progress);
        progress->setBar(progressBar);
        progress->setWindowTitle(QStringLiteral("Vurn"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setCancelButtonText(tr("キャンセル"));
        progress->setAutoClose(false);
        progress->setAutoReset(false);
        connect(progress, &QProgressDialog::canceled, this, &trackLoader::cancel);
        // Shown here rather than by its own timer or setValue: the slices are
        // the event loop's turns already.
        progress->show();
    }
    progress->setMaximum(total);
    progressBar->setValue(done);
    progress->setLabelText(tr("曲を追加しています…") + QLatin1Char('\n')
                           + tr("%1 / %n 曲", nullptr, total).arg(done));
}

void trackLoader::finishNow()
{
    if (!busy || slicing)
        return;
    takeRead();
    addSlice(true);
}

void trackLoader::cancel()
{
    if (!busy)
        return;
    if (reading) {
        reader.join();
        reading = false;
        readEntries.clear();
    }
    queue.erase(queue.begin() + next, queue.end());
    tickets.resize(next);
    complete();
}

void trackLoader::complete()
{
    sliceTimer->stop();
    busy = false;
    ++run;
    shared.clear();
#ifdef __GLIBC__
    // The readings and queue entries of a large add are freed between the
    // tracks' own strings; give the whole free pages back to the system.
    if (total >= 10000)
        malloc_trim(0);
#endif
    queue.clear();
    tickets.clear();
    prefetcher.clear();
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
    tell(finishedReport);
    checkWaiting();
    emit finished();
}

void trackLoader::tell(const loadReport &failures) const
{
    if (tellFailures)
        tellFailures(failures);
    else
        failures.show(dialogParent);
}

QList<storedTrack> trackLoader::remainingEntries()
{
    if (!busy)
        return {};
    takeRead(); // a list still being parsed is part of what is coming
    return queue.mid(next);
}

bool trackLoader::rowIsIn(int row) const
{
    return !busy || row < core->playlist->size();
}

void trackLoader::whenRowIn(int row, QObject *context, std::function<void()> work)
{
    dropWaiting();
    if (rowIsIn(row)) {
        work();
        return;
    }
    waitedRow = row;
    waitContext = context;
    waitWork = std::move(work);
}

void trackLoader::dropWaiting()
{
    ++waitTicket; // a wait already handed to the event loop is dropped too
    waitWork = nullptr;
    waitContext = nullptr;
    waitedRow = -1;
}

bool trackLoader::isWaiting() const
{
    return bool(waitWork);
}

void trackLoader::checkWaiting()
{
    if (!waitWork || !rowIsIn(waitedRow))
        return;
    std::function<void()> work = std::move(waitWork);
    QObject *context = waitContext;
    waitWork = nullptr;
    waitContext = nullptr;
    waitedRow = -1;
    if (!context)
        return;
    // Out of the slice: the work may start a track, open a box, add again.
    QMetaObject::invokeMethod(context, [self = QPointer<trackLoader>(this), work, ticket = waitTicket] {
        if (self && ticket == self->waitTicket)
            work();
    }, Qt::QueuedConnection);
}

void trackLoader::setHeld(bool hold)
{
    held = hold;
    if (!held && busy)
        sliceTimer->start();
}
