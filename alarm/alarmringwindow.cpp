#include "alarm/alarmringwindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

alarmRingWindow::alarmRingWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("alarmRingWindow"));
    setWindowTitle(tr("Vurn - アラーム"));
    // Closing it must never end the program while the main window sits in the tray.
    setAttribute(Qt::WA_QuitOnClose, false);

    timeLabel = new QLabel(this);
    timeLabel->setObjectName(QStringLiteral("alarmTimeLabel"));
    QFont big = timeLabel->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    timeLabel->setFont(big);
    timeLabel->setAlignment(Qt::AlignCenter);
    playingLabel = new QLabel(this);
    playingLabel->setObjectName(QStringLiteral("alarmPlayingLabel"));
    playingLabel->setAlignment(Qt::AlignCenter);
    playingLabel->setWordWrap(true);
    mutedLabel = new QLabel(tr("音声がミュートされています。"), this);
    mutedLabel->setObjectName(QStringLiteral("alarmMutedLabel"));
    outputLabel = new QLabel(this);
    outputLabel->setObjectName(QStringLiteral("alarmOutputLabel"));
    outputLabel->setWordWrap(true);
    outputLabel->hide();
    playlistLabel = new QLabel(this);
    playlistLabel->setObjectName(QStringLiteral("alarmPlaylistLabel"));
    playlistLabel->setWordWrap(true);
    playlistLabel->hide();
    unmuteButton = new QPushButton(tr("ミュート解除"), this);
    unmuteButton->setObjectName(QStringLiteral("alarmUnmuteButton"));
    stopButton = new QPushButton(tr("停止"), this);
    stopButton->setObjectName(QStringLiteral("alarmStopButton"));
    snoozeButton = new QPushButton(tr("スヌーズ"), this);
    snoozeButton->setObjectName(QStringLiteral("alarmSnoozeButton"));
    stopButton->setDefault(true);

    auto *mutedRow = new QHBoxLayout;
    mutedRow->addWidget(mutedLabel, 1);
    mutedRow->addWidget(unmuteButton);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(snoozeButton);
    buttons->addWidget(stopButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(timeLabel);
    layout->addWidget(playingLabel);
    layout->addLayout(mutedRow);
    layout->addWidget(outputLabel);
    layout->addWidget(playlistLabel);
    layout->addLayout(buttons);
    setMuted(false);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 24);

    connect(stopButton, &QPushButton::clicked, this, &alarmRingWindow::stopClicked);
    connect(snoozeButton, &QPushButton::clicked, this, &alarmRingWindow::snoozeClicked);
    connect(unmuteButton, &QPushButton::clicked, this, &alarmRingWindow::unmuteClicked);
}

void alarmRingWindow::setAlarmTime(const QString &hhmm)
{
    timeLabel->setText(hhmm);
}

void alarmRingWindow::setNowPlaying(const QString &text)
{
    playingLabel->setText(text);
}

void alarmRingWindow::setMuted(bool muted)
{
    mutedLabel->setVisible(muted);
    unmuteButton->setVisible(muted);
}

void alarmRingWindow::setOutputWarning(const QString &text)
{
    outputLabel->setText(text);
    outputLabel->setVisible(!text.isEmpty());
}

void alarmRingWindow::setPlaylistNote(const QString &text)
{
    playlistLabel->setText(text);
    playlistLabel->setVisible(!text.isEmpty());
}

void alarmRingWindow::closeEvent(QCloseEvent *event)
{
    // Closed from the title bar while ringing: the same as the stop button.
    if (isVisible())
        emit stopClicked();
    event->accept();
}

#include "moc_alarmringwindow.cpp"
