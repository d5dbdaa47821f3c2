#include "wakehelper/wakeregistry.h"

#include <algorithm>

bool wakeRegistry::admit(uint uid, qint64 now)
{
    // Only calls inside the window count; a clock set back drops the rest too.
    const auto stale = [now](qint64 t) { return t <= now - windowSeconds || t > now; };
    if (now - lastSweep >= windowSeconds || now < lastSweep) {
        // Users who have stopped calling are forgotten, so the history stays
        // as small as the callers of the last minute.
        lastSweep = now;
        for (auto it = recentCalls.begin(); it != recentCalls.end();) {
            it->erase(std::remove_if(it->begin(), it->end(), stale), it->end());
            if (it->isEmpty())
                it = recentCalls.erase(it);
            else
                ++it;
        }
    }
    QVector<qint64> &calls = recentCalls[uid];
    calls.erase(std::remove_if(calls.begin(), calls.end(), stale), calls.end());
    if (calls.size() >= callsPerWindow)
        return false;
    calls.append(now);
    return true;
}

int wakeRegistry::recentCallers() const
{
    return recentCalls.size();
}

wakeRegistry::Verdict wakeRegistry::judge(qint64 at, qint64 now)
{
    // Only `now` is added to: `at` comes from the caller and may be any value.
    if (at < now + earliestSeconds || at > now + latestSeconds)
        return Verdict::OutOfRange;
    return Verdict::Accepted;
}

void wakeRegistry::arm(uint uid, const QString &owner, qint64 at)
{
    wakes.insert(uid, Wake{owner, at});
}

bool wakeRegistry::disarm(uint uid)
{
    return wakes.remove(uid) > 0;
}

QVector<uint> wakeRegistry::forgetOwner(const QString &owner)
{
    QVector<uint> gone;
    for (auto it = wakes.begin(); it != wakes.end();) {
        if (it.value().owner == owner) {
            gone.append(it.key());
            it = wakes.erase(it);
        } else {
            ++it;
        }
    }
    return gone;
}

bool wakeRegistry::isArmed(uint uid) const
{
    return wakes.contains(uid);
}

qint64 wakeRegistry::wakeTime(uint uid) const
{
    return wakes.value(uid).at;
}

QString wakeRegistry::ownerOf(uint uid) const
{
    return wakes.value(uid).owner;
}

bool wakeRegistry::isEmpty() const
{
    return wakes.isEmpty();
}

int wakeRegistry::size() const
{
    return wakes.size();
}
