#pragma once

#include <QString>

// What the helper keeps of its start-up privilege. Started as root (by the
// bus's launch helper, which knows no capabilities), it becomes the helper's
// own system user at once, its groups and every capability gone but
// CAP_WAKE_ALARM, from the bounding set as well. Started as that user with the
// capability already (by the service manager), or by anyone else (tests), it
// only lets go of any other capability it was given. Either way no later
// exec can gain privilege.
class privilegeDrop
{
public:
    static constexpr const char *serviceUser = "vurn-wake";

    // Empty when done and checked, else why not: the helper must not go on then.
    static QString keepOnlyWakeAlarm(const char *userName = serviceUser);

private:
    static QString becomeUser(const char *userName);
    static QString limitCapabilities();
    static QString check();
};
