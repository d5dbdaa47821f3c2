#pragma once

#include <QObject>
#include <QString>

class QFileInfo;

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
    QString failureReason;
    bool failureIsLength = false; // the file has no length the tag library can tell
};
