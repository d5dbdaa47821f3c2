#include "library/tagprefetcher.h"

#include <QThread>

#include <chrono>

tagPrefetcher::tagPrefetcher(int threads)
    : threadCount(threads > 0 ? threads : qBound(1, QThread::idealThreadCount(), 4))
{
}

tagPrefetcher::~tagPrefetcher()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    for (std::thread &worker : workers)
        worker.join();
}

int tagPrefetcher::enqueue(const QString &path)
{
    return enqueueAll(QStringList{path});
}

int tagPrefetcher::enqueueAll(const QStringList &paths)
{
    int first;
    {
        std::lock_guard<std::mutex> lock(mutex);
        first = int(jobs.size());
        for (const QString &path : paths) {
            jobs.emplace_back();
            jobs.back().path = path;
        }
    }
    startWorkers();
    wake.notify_all();
    return first;
}

void tagPrefetcher::startWorkers()
{
    // Threads start with the first work, not with the player.
    if (workers.empty())
        for (int i = 0; i < threadCount; ++i)
            workers.emplace_back(&tagPrefetcher::work, this);
}

bool tagPrefetcher::take(int ticket, tagReading &reading, int waitMsec)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (ticket < 0 || size_t(ticket) >= jobs.size())
        return false;
    Job &job = jobs[size_t(ticket)];
    const auto ready = [&job] { return job.done; };
    ++waiting;
    if (waitMsec < 0)
        finished.wait(lock, ready);
    else if (!ready())
        finished.wait_for(lock, std::chrono::milliseconds(waitMsec), ready);
    --waiting;
    if (!job.done)
        return false;
    reading = std::move(job.reading);
    job.reading = tagReading();
    return true;
}

void tagPrefetcher::clear()
{
    std::lock_guard<std::mutex> lock(mutex);
    jobs.clear();
    nextJob = 0;
    ++generation;
}

void tagPrefetcher::work()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || nextJob < jobs.size(); });
        if (stopping)
            return;
        const size_t index = nextJob++;
        const unsigned claimed = generation;
        const QString path = jobs[index].path;
        lock.unlock();
        tagReading reading = tagReader::read(path);
        lock.lock();
        if (claimed != generation)
            continue;
        jobs[index].reading = std::move(reading);
        jobs[index].done = true;
        // Waking the taker only when it waits saves a system call a file.
        if (waiting > 0)
            finished.notify_all();
    }
}
