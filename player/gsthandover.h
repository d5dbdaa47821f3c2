#pragma once

#include <QByteArray>
#include <QString>

#include <deque>
#include <mutex>

// The track that follows the one playing, shared between the GUI thread,
// which chooses it, and the streaming thread, which takes it when the playing
// track is about to finish. The streaming thread only takes the lock for a
// copy and never waits for the GUI thread; nothing here is a QObject.
class gstHandover
{
public:
    // GUI thread. An empty file withdraws the next track. When one was already
    // taken by the stream and is not heard yet, the play ends with this track
    // instead of moving on (what is queued in the pipeline cannot be recalled).
    void prepare(const QString &file);
    QString prepared() const;
    // GUI thread: an explicit start or a stop forgets everything.
    void reset();

    // Streaming thread: the URI to go on with, or empty; a file that is gone
    // is not handed over, so the play ends and the player picks another.
    QByteArray takeForStream();
    // Streaming thread, at each stream reaching the sink: true when it is a
    // handed-over one that was withdrawn, and the play is to end here instead.
    bool endsAtThisStream();

    // GUI thread, once for each new stream the sink reports: the handed-over
    // file it plays, or empty when it is the file of an explicit start.
    QString takeReached();
    // GUI thread: the file the stream took that the sink has not reached yet.
    QString takenNotReached() const;

private:
    mutable std::mutex lock;
    QString nextFile;
    QByteArray nextUri;
    // Taken by the stream, not at the sink yet; then at the sink, not yet
    // reported on the GUI thread.
    std::deque<QString> handedOver;
    std::deque<QString> reached;
    bool endAtNextStream = false;
};
