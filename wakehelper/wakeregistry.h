#pragma once

#include <QHash>
#include <QString>
#include <QVector>

// The helper's rules, apart from the bus and the clock: one wake per user,
// only between a minute and a day ahead, a bounded number of calls per user
// per minute, and forgotten when the connection that asked for it goes.
class wakeRegistry
{
public:
    enum class Verdict { Accepted, OutOfRange, RateLimited };

    static constexpr qint64 earliestSeconds = 60;       // ahead of now
    static constexpr qint64 latestSeconds = 24 * 3600;  // ahead of now
    static constexpr int callsPerWindow = 20;
    static constexpr qint64 windowSeconds = 60;

    // Counts one call by `uid` at `now` (seconds since the epoch); false when
    // that user has made too many calls lately.
    bool admit(uint uid, qint64 now);
    int recentCallers() const; // users whose call history is kept
    // Whether `at` may be armed at `now`.
    static Verdict judge(qint64 at, qint64 now);
    // Records the user's one wake, replacing an earlier one of theirs.
    void arm(uint uid, const QString &owner, qint64 at);
    bool disarm(uint uid);
    // The users whose wake was asked for by `owner`, a bus connection that
    // has gone; their wakes are forgotten.
    QVector<uint> forgetOwner(const QString &owner);

    bool isArmed(uint uid) const;
    qint64 wakeTime(uint uid) const; // 0 when none
    QString ownerOf(uint uid) const;
    bool isEmpty() const;
    int size() const;

private:
    struct Wake
    {
        QString owner;
        qint64 at = 0;
    };
    QHash<uint, Wake> wakes;
    QHash<uint, QVector<qint64>> recentCalls;
    qint64 lastSweep = 0;
};
