#include "support/systemlikebus.h"

#include "wakehelper/privilegedrop.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileDevice>

#include <pwd.h>
#include <unistd.h>

namespace {

// The stand-in polkit runs as the test's user. Without root the helper does
// too, so that user also stands in for the helper's.
QString testUsersPolicy()
{
    const passwd *me = getpwuid(geteuid());
    if (!me)
        return QString();
    const QString helper = SystemLikeBus::runsAsRoot() ? QString()
                                                       : QStringLiteral("<allow own=\"org.vurn.WakeHelper\"/>");
    return QStringLiteral("  <policy user=\"%1\"><allow own=\"org.freedesktop.PolicyKit1\"/>%2</policy>\n")
        .arg(QString::fromLocal8Bit(me->pw_name), helper);
}

} // namespace

SystemLikeBus::SystemLikeBus()
{
    if (!folder.isValid() || (runsAsRoot() && !ensureServiceUser()))
        return;
    // Callers of other users reach the socket through the folder.
    QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                             | QFileDevice::ReadOther | QFileDevice::ExeOther
                                             | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    const QString config = folder.filePath(QStringLiteral("system.conf"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return;
    const QString policy = QStringLiteral(VURN_SOURCE_DIR "/wakehelper/org.vurn.WakeHelper.conf");
    file.write(QStringLiteral(
                   "<busconfig>\n"
                   "  <type>system</type>\n"
                   "  <auth>EXTERNAL</auth>\n"
                   "  <listen>unix:path=%1/socket</listen>\n"
                   "  <policy context=\"default\">\n"
                   "    <allow user=\"*\"/>\n"
                   "    <deny own=\"*\"/>\n"
                   "    <deny send_type=\"method_call\"/>\n"
                   "    <allow send_type=\"signal\"/>\n"
                   "    <allow send_requested_reply=\"true\" send_type=\"method_return\"/>\n"
                   "    <allow send_requested_reply=\"true\" send_type=\"error\"/>\n"
                   "    <allow receive_type=\"method_call\"/>\n"
                   "    <allow receive_type=\"method_return\"/>\n"
                   "    <allow receive_type=\"error\"/>\n"
                   "    <allow receive_type=\"signal\"/>\n"
                   "    <allow send_destination=\"org.freedesktop.DBus\" send_interface=\"org.freedesktop.DBus\"/>\n"
                   "    <allow send_destination=\"org.freedesktop.DBus\""
                   " send_interface=\"org.freedesktop.DBus.Introspectable\"/>\n"
                   "    <allow send_destination=\"org.freedesktop.PolicyKit1\"/>\n"
                   "  </policy>\n"
                   "%2"
                   "  <include>%3</include>\n"
                   "</busconfig>\n")
                   .arg(folder.path(), testUsersPolicy(), policy)
                   .toUtf8());
    file.close();
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                                                 QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
    if (!daemon.waitForStarted(5000))
        return;
    QDeadlineTimer deadline(10000);
    while (!daemon.canReadLine() && !deadline.hasExpired())
        daemon.waitForReadyRead(100);
    busAddress = QString::fromUtf8(daemon.readLine()).trimmed();
}

SystemLikeBus::~SystemLikeBus()
{
    if (daemon.state() != QProcess::NotRunning) {
        daemon.terminate();
        if (!daemon.waitForFinished(3000))
            daemon.kill();
        daemon.waitForFinished(3000);
    }
}

bool SystemLikeBus::isRunning() const
{
    return daemon.state() == QProcess::Running && !busAddress.isEmpty();
}

QString SystemLikeBus::address() const
{
    return busAddress;
}

QDBusConnection SystemLikeBus::connect(const QString &name) const
{
    return QDBusConnection::connectToBus(busAddress, name + QLatin1Char('@') + busAddress);
}

bool SystemLikeBus::runsAsRoot()
{
    return geteuid() == 0;
}

bool SystemLikeBus::ensureServiceUser()
{
    const char *name = privilegeDrop::serviceUser;
    if (getpwnam(name))
        return true;
    if (!runsAsRoot())
        return false;
    // As the package would make it: a system user with no home and no shell.
    const int status = QProcess::execute(
        QStringLiteral("useradd"), {QStringLiteral("--system"), QStringLiteral("--user-group"),
                                    QStringLiteral("--no-create-home"), QStringLiteral("--home-dir"),
                                    QStringLiteral("/nonexistent"), QStringLiteral("--shell"),
                                    QStringLiteral("/usr/sbin/nologin"), QLatin1String(name)});
    return status == 0 && getpwnam(name);
}
