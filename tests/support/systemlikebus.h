#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A private dbus-daemon configured like the system bus: anyone may connect,
// nothing may be owned or called but what a policy allows, and the policies
// are the helper's own file from the tree plus the stand-in polkit's. Run as
// root, it makes sure the helper's user exists; run as anyone else, that user
// (who cannot be switched to) is stood in for by the one running the test.
class SystemLikeBus
{
public:
    SystemLikeBus();
    ~SystemLikeBus();
    bool isRunning() const;
    QString address() const;
    QDBusConnection connect(const QString &name) const;

    // Creates the helper's system user when missing; false when it cannot.
    static bool ensureServiceUser();
    static bool runsAsRoot();

private:
    QTemporaryDir folder;
    QProcess daemon;
    QString busAddress;
};
