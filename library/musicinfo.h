#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QString>

class QFileInfo;
struct tagReading;

// What the settings file keeps of a track: enough to rebuild it without
// opening the file, as long as the file has not changed since.
struct storedTrack
{
    QString file;
    QString title;
    QString artist;
    QString album;
    QString year;
    qint64 lengthMsec = -1;
    qint64 size = -1;     // bytes, -1 when not recorded
    qint64 modified = -1; // ms since the epoch, -1 when not recorded
};

// One audio file: its path, the parts of its name, its tags and its length.
class musicInfo : public QObject
{
    Q_OBJECT
public:
    explicit musicInfo(QObject *parent = nullptr);
    ~musicInfo() override;

    // Fills the record from the file; true when it describes the file. A file
    // the tag library cannot read leaves its reason in failureReason; a
    // missing file or one without length fails without one.
    bool readTags(const QString &path);
    // The same from a reading made elsewhere (on a worker thread).
    bool takeReading(const QString &path, const tagReading &reading);
    // Rebuilds the record from what the settings file kept, without opening
    // the file; false (and nothing changed) unless the file still has the
    // recorded size and modification time and the kept values are usable.
    bool restoreStored(const storedTrack &stored);
    // What the state files keep of this track.
    storedTrack toStored() const;
    // Entries for files known by path alone (nothing kept): each is read.
    static QList<storedTrack> entriesFor(const QStringList &paths);
    // MM:SS up to and including 60 minutes, H:MM:SS above.
    static QString msecToString(qint64 msec);

    QString filePath;
    QString baseName;
    QString suffix;
    QString fileName;
    QString title;
    QString artist;
    QString album;
    QString year;
    QString lengthText;
    qint32 lengthMsec = 0;
    QFileInfo *fileInfo = nullptr;
    // The file's size and modification time when its tags were read.
    qint64 fileSize = -1;
    qint64 modifiedMsec = -1;
    QString failureReason;
    bool failureIsLength = false; // the file has no length the tag library can tell

private:
    void setNameParts(const QString &path);
    static QString lengthTextFor(qint64 msec);
};
