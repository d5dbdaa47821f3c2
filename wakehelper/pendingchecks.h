#pragma once

#include <QHash>

// The polkit checks still unanswered, counted per user, so that one user's
// calls cannot use up everyone's: each user has a small share, and all of
// them together a cap far above it. A user's Disarm also cancels that user's
// Arms still waiting: each check carries the user's cancel count from when
// it was asked, and a changed count means it is void.
class pendingChecks
{
public:
    static constexpr int perUser = 4;
    static constexpr int overall = 256;

    // Takes a slot for `uid`; false when that user, or everyone, has too many out.
    bool take(uint uid);
    void release(uint uid);
    // Voids the checks `uid` has out now; nothing for a user with none.
    void cancel(uint uid);
    quint64 cancelCount(uint uid) const;

    int outstanding() const;
    int outstanding(uint uid) const;
    int users() const; // users with a check out

private:
    struct User
    {
        int checks = 0;
        quint64 cancels = 0;
    };
    QHash<uint, User> byUser;
    int total = 0;
};
