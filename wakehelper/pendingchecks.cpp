#include "wakehelper/pendingchecks.h"

bool pendingChecks::take(uint uid)
{
    if (total >= overall || outstanding(uid) >= perUser)
        return false;
    ++byUser[uid].checks;
    ++total;
    return true;
}

void pendingChecks::release(uint uid)
{
    auto it = byUser.find(uid);
    if (it == byUser.end())
        return;
    --total;
    // A user with nothing out is forgotten, cancel count and all: no check of
    // theirs is left to compare it with.
    if (--it->checks <= 0)
        byUser.erase(it);
}

void pendingChecks::cancel(uint uid)
{
    auto it = byUser.find(uid);
    if (it != byUser.end())
        ++it->cancels;
}

quint64 pendingChecks::cancelCount(uint uid) const
{
    return byUser.value(uid).cancels;
}

int pendingChecks::outstanding() const
{
    return total;
}

int pendingChecks::outstanding(uint uid) const
{
    return byUser.value(uid).checks;
}

int pendingChecks::users() const
{
    return byUser.size();
}
