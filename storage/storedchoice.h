#pragma once

#include <QString>

// Play modes, alarm volumes, fade-ins and the alarm's standard playlist are
// written to Vurn.ini and compared as these Japanese texts in every display
// language, so a file written under English reads the same under Japanese.
// This is the one place they turn into the words a person reads.
class storedChoice
{
public:
    static QString noRepeat() { return QStringLiteral("リピートなし"); }
    static QString repeatOne() { return QStringLiteral("1曲リピート"); }
    static QString repeatForward() { return QStringLiteral("全曲リピート(>>)"); }
    static QString repeatBackward() { return QStringLiteral("全曲リピート(<<)"); }
    static QString random() { return QStringLiteral("ランダム"); }
    static QString shuffle() { return QStringLiteral("シャッフル"); }
    static QString noRepeatRandom() { return QStringLiteral("リピートなし：ランダム"); }
    // Followed by a track number: plays once from that track.
    static QString noRepeatFromPrefix() { return QStringLiteral("リピートなし："); }
    static QString noRepeatFrom(int track);
    // No volume change, or no fade.
    static QString unchanged() { return QStringLiteral("しない"); }
    static QString fadeIn(int minutes);
    static QString standardPlayList() { return QStringLiteral("標準プレイリスト"); }

    // The text shown for a stored one; a text it does not know (a volume's
    // digits, a saved playlist's name) is shown as it is.
    static QString shown(const QString &stored);
};
