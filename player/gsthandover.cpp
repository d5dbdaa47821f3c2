#include "player/gsthandover.h"

#include <QFile>
#include <QUrl>

#include <utility>

void gstHandover::prepare(const QString &file)
{
    const QByteArray uri = file.isEmpty() ? QByteArray() : QUrl::fromLocalFile(file).toEncoded();
    std::lock_guard<std::mutex> guard(lock);
    if (!handedOver.empty()) {
        // What the stream has taken plays unless the choice changed since;
        // then the play ends with the current file, and nothing follows.
        if (handedOver.back() != file) {
            endAtNextStream = true;
            nextFile.clear();
            nextUri.clear();
        }
        return;
    }
    nextFile = file;
    nextUri = uri;
}

QString gstHandover::prepared() const
{
    std::lock_guard<std::mutex> guard(lock);
    return nextFile;
}

void gstHandover::reset()
{
    std::lock_guard<std::mutex> guard(lock);
    nextFile.clear();
    nextUri.clear();
    handedOver.clear();
    reached.clear();
    endAtNextStream = false;
}

QByteArray gstHandover::takeForStream()
{
    std::lock_guard<std::mutex> guard(lock);
    if (nextUri.isEmpty() || !QFile::exists(nextFile))
        return QByteArray();
    handedOver.push_back(nextFile);
    nextFile.clear();
    return std::exchange(nextUri, QByteArray());
}

bool gstHandover::endsAtThisStream()
{
    std::lock_guard<std::mutex> guard(lock);
    // One entry for each stream the sink reports, an explicit start's empty.
    if (handedOver.empty()) {
        reached.emplace_back();
        return false;
    }
    if (std::exchange(endAtNextStream, false)) {
        nextFile.clear();
        nextUri.clear();
        return true;
    }
    reached.push_back(handedOver.front());
    handedOver.pop_front();
    return false;
}

QString gstHandover::takeReached()
{
    std::lock_guard<std::mutex> guard(lock);
    if (reached.empty())
        return QString();
    const QString file = reached.front();
    reached.pop_front();
    return file;
}

QString gstHandover::takenNotReached() const
{
    std::lock_guard<std::mutex> guard(lock);
    return handedOver.empty() ? QString() : handedOver.front();
}
