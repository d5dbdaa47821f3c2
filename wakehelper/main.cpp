// vurn-wake-helper: started by the system bus on demand, it wakes the machine
// from suspend at the times users' players ask for, and exits when it holds
// none. It needs CAP_WAKE_ALARM and nothing else, and keeps nothing else.
#include "wakehelper/privilegedrop.h"
#include "wakehelper/waketimer.h"
#include "wakehelper/wakeservice.h"

#include <QCoreApplication>
#include <QDBusConnection>

#include <cstdio>
#include <ctime>

int main(int argc, char *argv[])
{
    // Before anything else runs: as root nothing is to be parsed or connected.
    const QString dropped = privilegeDrop::keepOnlyWakeAlarm();
    if (!dropped.isEmpty()) {
        std::fprintf(stderr, "vurn-wake-helper: refusing to run: %s\n", qPrintable(dropped));
        return 1;
    }
    QCoreApplication app(argc, argv);
    // Only the service manager starts the helper; still, nothing unexpected is taken.
    clockid_t clock = CLOCK_REALTIME_ALARM;
    int idleSeconds = 30;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--plain-clock")) {
            clock = CLOCK_REALTIME; // tests: wakes nothing, needs no capability
        } else if (args[i] == QLatin1String("--idle-seconds") && i + 1 < args.size()) {
            bool ok = false;
            idleSeconds = args[++i].toInt(&ok);
            if (!ok || idleSeconds < 1 || idleSeconds > 3600) {
                std::fprintf(stderr, "vurn-wake-helper: --idle-seconds takes 1 to 3600\n");
                return 2;
            }
        } else {
            std::fprintf(stderr, "usage: vurn-wake-helper [--plain-clock] [--idle-seconds N]\n");
            return 2;
        }
    }

    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "vurn-wake-helper: no system bus\n");
        return 1;
    }
    wakeTimer timer(clock);
    wakeService service(bus, &timer, idleSeconds);
    if (!service.registerOnBus()) {
        std::fprintf(stderr, "vurn-wake-helper: cannot own %s\n", wakeService::serviceName);
        return 1;
    }
    QObject::connect(&service, &wakeService::idle, &app, &QCoreApplication::quit);
    return app.exec();
}
