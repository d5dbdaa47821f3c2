#pragma once

#include <QList>
#include <QObject>
#include <QString>

class musicInfo;

// The ordered tracks the player works through, with their count and total length.
class playList : public QObject
{
    Q_OBJECT
public:
    explicit playList(QObject *parent = nullptr);
    ~playList() override;

    // False when the file cannot be read; lastFailure then says why (empty
    // for a missing file or one without length).
    bool addFile(const QString &path);
    // Takes over a track built elsewhere (restored from the settings file).
    void addTrack(musicInfo *info);
    bool removeAt(int index);
    // Removes the entries first..last (inclusive) in one pass; false for a bad range.
    bool removeRange(int first, int last);
    bool moveTrack(int from, int to);
    void clear();
    int size() const;
    bool isValidIndex(int index) const;
    // Null for an index outside the list / an empty list.
    musicInfo *at(int index) const;
    musicInfo *last() const;
    QList<musicInfo *> tracks() const;

    qint32 trackCount = 0;
    qint64 totalMsec = 0; // a large library passes the 596 hours 32 bits hold
    QList<musicInfo *> items;
    QString lastFailure;
};
