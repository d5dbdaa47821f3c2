#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class musicInfo;

// What "find in the playlist" matches: a track is shown when its title,
// artist or album contains every typed word, ignoring case and the width of
// Latin and Japanese characters. The folded text of each track is kept
// between keystrokes.
class trackFilter
{
public:
    // Case and width folded: full-width "ＡＢＣ" and "abc" fold alike, as do
    // half-width "ｱｲｳ" and "アイウ".
    static QString fold(const QString &text);

    // Returns true when the words changed.
    bool setQuery(const QString &text);
    // Some word typed (spaces alone narrow nothing).
    bool isActive() const { return !words.isEmpty(); }
    bool matches(const musicInfo *track);
    // Tracks may have been removed: their kept text must not be taken for a
    // new track's.
    void forgetTracks();

private:
    QStringList words; // longest first: the likeliest to fail early
    QHash<const musicInfo *, QString> folded;
};
