// The controller's display and volume: the labels and slider it keeps
// current, and the volume and mute it passes to the player.
#include "playlist/vurncore.h"

#include "library/musicinfo.h"
#include "player/musicplay.h"
#include "playlist/playlist.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLabel>

#include <climits>
#include <cmath>

namespace {

// Whole percent of a 0.0-1.0 level, rounded up, but not what floating point
// puts a hair above a whole percent (0.07 * 100 is 7.000000000000001).
int levelToPercent(qreal level)
{
    const double scaled = double(level) * 100.0;
    const double nearest = std::round(scaled);
    if (std::fabs(scaled - nearest) <= 1e-6)
        return int(nearest);
    return int(std::ceil(scaled));
}

} // namespace

// --- Display and volume --------------------------------------------------

QString vurnCore::volumeText(int percent) const
{
    if (percent >= 10 && percent <= 100)
        return QStringLiteral("vol:") + QString::number(percent);
    return QStringLiteral("vol:0") + QString::number(percent);
}

void vurnCore::updatePosition(qint64 positionMsec, qint64 lengthMsec)
{
    if (timeLabel)
        timeLabel->setText(msecToString(positionMsec) + tr(" ／ ") + msecToString(lengthMsec));
    // A handle held by the mouse stays where the person has it.
    if (seekSlider && !seekSlider->isSliderDown())
        seekSlider->setValue(int(qBound<qint64>(INT_MIN, positionMsec, INT_MAX)));
}

int vurnCore::currentLength() const
{
    return player->lengthMsec;
}

bool vurnCore::isPlaying() const
{
    // The backend reports the pause a moment after it was asked for.
    return !paused && player->isPlaying();
}

qreal vurnCore::volume() const
{
    return player->volume();
}

void vurnCore::setVolumePercent(int percent, QAbstractButton *button, QAbstractSlider *slider)
{
    if (player->isMuted())
        return;
    player->setVolumePercent(percent);
    if (button)
        button->setText(volumeText(percent));
    if (slider)
        slider->setValue(percent);
}

void vurnCore::setVolumeLevel(qreal level, QAbstractButton *button, QAbstractSlider *slider)
{
    if (player->isMuted())
        return;
    player->setVolume(level);
    const int percent = levelToPercent(level);
    if (button)
        button->setText(volumeText(percent));
    if (slider)
        slider->setValue(percent);
}

void vurnCore::toggleMute(QAbstractButton *button)
{
    player->toggleMute();
    if (!button)
        return;
    if (player->isMuted()) {
        button->setText(tr("mute"));
        return;
    }
    QString number;
    number.setNum(player->volume() * 100, 'g', 6);
    button->setText(QStringLiteral("vol:") + number);
}

bool vurnCore::hasTracks() const
{
    return playlist->size() > 0;
}

QList<musicInfo *> vurnCore::tracks() const
{
    return playlist->tracks();
}

QString vurnCore::msecToString(qint64 msec) const
{
    return musicInfo::msecToString(msec);
}
