#include "wakehelper/privilegedrop.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <linux/capability.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

QString failed(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
}

bool anyRoot()
{
    uid_t real = 0, effective = 0, saved = 0;
    if (getresuid(&real, &effective, &saved) != 0)
        return true; // not known: assume the worst
    return real == 0 || effective == 0 || saved == 0;
}

// Raw capget/capset: two 32-bit words per set.
bool readCaps(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capget, &header, data) == 0;
}

bool writeCaps(__user_cap_data_struct (&data)[2])
{
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return syscall(SYS_capset, &header, data) == 0;
}

constexpr unsigned wakeWord = CAP_WAKE_ALARM / 32;
constexpr quint32 wakeBit = 1u << (CAP_WAKE_ALARM % 32);

bool onlyWakeAlarm(const __user_cap_data_struct (&data)[2])
{
    for (unsigned word = 0; word < 2; ++word) {
        const quint32 allowed = word == wakeWord ? wakeBit : 0;
        if ((data[word].effective | data[word].permitted | data[word].inheritable) & ~allowed)
            return false;
    }
    return true;
}

} // namespace

QString privilegeDrop::keepOnlyWakeAlarm(const char *userName)
{
    if (anyRoot()) {
        const QString why = becomeUser(userName);
        if (!why.isEmpty())
            return why;
    }
    const QString why = limitCapabilities();
    if (!why.isEmpty())
        return why;
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0)
        return failed("no_new_privs");
    return check();
}

QString privilegeDrop::becomeUser(const char *userName)
{
    errno = 0;
    const passwd *user = getpwnam(userName);
    if (!user)
        return QStringLiteral("no user %1 to run as").arg(QLatin1String(userName));
    if (user->pw_uid == 0 || user->pw_gid == 0)
        return QStringLiteral("user %1 is root").arg(QLatin1String(userName));
    const uid_t uid = user->pw_uid;
    const gid_t gid = user->pw_gid;
    // The bounding set first, while CAP_SETPCAP is still in hand; the kernel
    // says EINVAL past its last capability.
    for (int cap = 0; prctl(PR_CAPBSET_READ, cap, 0, 0, 0) >= 0; ++cap) {
        if (cap != CAP_WAKE_ALARM && prctl(PR_CAPBSET_DROP, cap, 0, 0, 0) != 0)
            return failed("capability bounding set");
    }
    // Kept across the change of user, then cut down to the one capability.
    if (prctl(PR_SET_KEEPCAPS, 1, 0, 0, 0) != 0)
        return failed("keepcaps");
    if (setgroups(0, nullptr) != 0)
        return failed("setgroups");
    if (setresgid(gid, gid, gid) != 0)
        return failed("setresgid");
    if (setresuid(uid, uid, uid) != 0)
        return failed("setresuid");
    if (prctl(PR_SET_KEEPCAPS, 0, 0, 0, 0) != 0)
        return failed("keepcaps");
    return QString();
}

QString privilegeDrop::limitCapabilities()
{
    __user_cap_data_struct data[2]{};
    if (!readCaps(data))
        return failed("capget");
    const bool permitted = data[wakeWord].permitted & wakeBit;
    __user_cap_data_struct only[2]{};
    if (permitted) {
        only[wakeWord].permitted = wakeBit;
        only[wakeWord].effective = wakeBit;
    }
    // The service manager's sandbox refuses capset; what it gives is no more
    // than this (the capability also inheritable, for the ambient set).
    if (onlyWakeAlarm(data))
        return QString();
    // Nothing inheritable, hence no ambient set either: the helper runs nothing.
    if (!writeCaps(only))
        return failed("capset");
    return QString();
}

QString privilegeDrop::check()
{
    if (anyRoot())
        return QStringLiteral("still root");
    if (setresuid(0, 0, 0) == 0)
        return QStringLiteral("root could be taken back");
    __user_cap_data_struct data[2]{};
    if (!readCaps(data))
        return failed("capget");
    if (!onlyWakeAlarm(data))
        return QStringLiteral("a capability other than CAP_WAKE_ALARM is still held");
    return QString();
}
