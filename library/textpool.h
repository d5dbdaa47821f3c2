#pragma once

#include <QSet>
#include <QString>

// Tracks of one album carry the same artist, album and year: a pool hands
// every equal text the one copy it already holds, so a large list keeps each
// once.
class textPool
{
public:
    void share(QString &text);
    void clear() { texts.clear(); }

private:
    QSet<QString> texts;
};
