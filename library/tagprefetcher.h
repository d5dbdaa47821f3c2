#pragma once

#include "library/tagreader.h"

#include <QString>
#include <QStringList>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Reads files' tags ahead on worker threads while the GUI thread turns the
// readings into tracks in order. Only plain data crosses threads: no QObject
// is made or touched off the GUI thread.
class tagPrefetcher
{
public:
    explicit tagPrefetcher(int threads = 0); // 0: one per core, at most four
    ~tagPrefetcher();
    tagPrefetcher(const tagPrefetcher &) = delete;
    tagPrefetcher &operator=(const tagPrefetcher &) = delete;

    // Queues a file; the ticket claims its reading.
    int enqueue(const QString &path);
    // Queues many files at once; their tickets run from the one returned.
    int enqueueAll(const QStringList &paths);
    // The reading of a ticket, waiting at most waitMsec for it (-1: as long
    // as it takes); false when it is not ready yet.
    bool take(int ticket, tagReading &reading, int waitMsec);
    // Forgets every queued and finished reading; tickets start over.
    void clear();

private:
    struct Job
    {
        QString path;
        tagReading reading;
        bool done = false;
    };
    void work();

    int threadCount;
    std::vector<std::thread> workers;
    std::mutex mutex;
    std::condition_variable wake;     // work queued, or stopping
    std::condition_variable finished; // a reading is done
    std::deque<Job> jobs;
    size_t nextJob = 0;
    unsigned generation = 0; // bumped by clear(): late readings are dropped
    bool stopping = false;
    int waiting = 0; // takers waiting for a reading: only then is one told
    void startWorkers();
};
