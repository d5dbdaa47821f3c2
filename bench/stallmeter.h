#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <algorithm>

// The longest gap between the ticks of a 5 ms timer, less the 5 ms: how long
// the event loop was held while it ran.
class StallMeter
{
public:
    StallMeter()
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last - 5);
            last = now;
        });
    }
    void start()
    {
        clock.start();
        last = 0;
        longest = 0;
        timer.start();
    }
    qint64 stop()
    {
        timer.stop();
        return longest;
    }

private:
    QTimer timer;
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
};
