#include "alarm/alarmringer.h"

#include "alarm/alarmone.h"
#include "alarm/alarmringwindow.h"
#include "alarm/alarmtone.h"
#include "engine/outputlevel.h"
#include "engine/playbackbackend.h"

#include <QTimer>
#include <QUrl>

#include <phonon/AudioOutput>
#include <phonon/MediaObject>
#include <phonon/MediaSource>

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
        tone->stop();
        tone->clear();
        tonePath.disconnect();
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

Phonon::MediaObject *alarmRinger::toneMedia() const
{
    return tone;
}

Phonon::AudioOutput *alarmRinger::toneOutput() const
{
    return toneOut;
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
        // A media object of its own, so the tone neither disturbs the
        // playlist's state nor inherits its mute.
        playbackBackend::prepare();
        tone = new Phonon::MediaObject(this);
        toneOut = new Phonon::AudioOutput(Phonon::MusicCategory, this);
        tonePath = Phonon::createPath(tone, toneOut);
        toneLevel = new outputLevel(tone, toneOut, this);
        // Loop until stopped.
        connect(tone, &Phonon::MediaObject::finished, this, [this] {
            if (toneOn)
                QTimer::singleShot(0, this, [this] {
                    if (toneOn) {
                        tone->setCurrentSource(tone->currentSource());
                        toneLevel->prepareStart();
                        tone->play();
                    }
                });
        });
    }
    toneOn = true;
    toneLevel->setMuted(false);
    toneLevel->setLevel(tonePercent / 100.0);
    const QString path = alarmTone::filePath();
    tone->setCurrentSource(Phonon::MediaSource(QUrl::fromLocalFile(path)));
    toneLevel->prepareStart();
    tone->play();
    ringWindow->setNowPlaying(tr("アラーム音"));
    emit toneStarted();
}

#include "moc_alarmringer.cpp"
