#include "alarm/alarmringer.h"

#include "alarm/alarmone.h"
#include "alarm/alarmringwindow.h"
#include "alarm/alarmtone.h"
#include "player/gstengine.h"

#include <QTimer>

alarmRinger::alarmRinger(QObject *parent)
    : QObject(parent), ringWindow(std::make_unique<alarmRingWindow>())
{
    toneDelay = new QTimer(this);
    toneDelay->setSingleShot(true);
    connect(toneDelay, &QTimer::timeout, this, &alarmRinger::onToneDelayPassed);
    connect(ringWindow.get(), &alarmRingWindow::stopClicked, this, &alarmRinger::stopRequested);
    connect(ringWindow.get(), &alarmRingWindow::snoozeClicked, this, &alarmRinger::snoozeRequested);
    connect(ringWindow.get(), &alarmRingWindow::unmuteClicked, this, &alarmRinger::unmuteRequested);
}

alarmRinger::~alarmRinger()
{
    if (tone) {
        disconnect(tone, nullptr, this, nullptr);
        tone->stop();
    }
}

void alarmRinger::start(const alarmOne &alarm, const QDateTime &scheduled, int percent, bool muted,
                        std::function<bool()> isMusicPlaying)
{
    stop();
    ringing = std::make_unique<alarmOne>();
    ringing->assign(alarm);
    musicPlaying = std::move(isMusicPlaying);
    tonePercent = qBound(0, percent, 100);
    ringWindow->setAlarmTime(scheduled.time().toString(QStringLiteral("HH:mm")));
    ringWindow->setNowPlaying(QString());
    ringWindow->setMuted(muted);
    ringWindow->present();
    toneDelay->start(toneDelayMsec);
}

void alarmRinger::stop()
{
    toneDelay->stop();
    if (tone)
        tone->stop();
    toneOn = false;
    ringing.reset();
    ringWindow->hide();
}

bool alarmRinger::isRinging() const
{
    return ringing != nullptr;
}

bool alarmRinger::isToneSounding() const
{
    return toneOn;
}

const alarmOne *alarmRinger::alarm() const
{
    return ringing.get();
}

void alarmRinger::renamePlayList(const QString &from, const QString &to)
{
    if (ringing && ringing->playListName == from)
        ringing->playListName = to;
}

void alarmRinger::setNowPlaying(const QString &text)
{
    if (!toneOn)
        ringWindow->setNowPlaying(text);
}

void alarmRinger::setMuted(bool muted)
{
    ringWindow->setMuted(muted);
}

int alarmRinger::toneVolumePercent() const
{
    return tonePercent;
}

alarmRingWindow *alarmRinger::window() const
{
    return ringWindow.get();
}

gstEngine *alarmRinger::toneEngine() const
{
    return tone;
}

void alarmRinger::onToneDelayPassed()
{
    if (!ringing || (musicPlaying && musicPlaying()))
        return;
    startTone();
}

void alarmRinger::startTone()
{
    if (!tone) {
        // An engine of its own, so the tone neither disturbs the playlist's
        // state nor inherits its mute or its ReplayGain.
        tone = new gstEngine(this);
        // Loops without a gap: each round queues the next.
        connect(tone, &gstEngine::movedToNext, this, [this] {
            if (toneOn)
                tone->setNextFile(alarmTone::filePath());
        });
        // A round that could not follow on (the file was rewritten, say)
        // starts again.
        connect(tone, &gstEngine::finished, this, [this] {
            QTimer::singleShot(0, this, [this] {
                if (toneOn)
                    playTone();
            });
        });
    }
    toneOn = true;
    tone->setMuted(false);
    tone->setVolume(tonePercent / 100.0);
    playTone();
    ringWindow->setNowPlaying(tr("アラーム音"));
    emit toneStarted();
}

void alarmRinger::playTone()
{
    const QString path = alarmTone::filePath();
    tone->playFile(path);
    tone->setNextFile(path);
}

#include "moc_alarmringer.cpp"
