#include "alarm/alarmringwindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

alarmRingWindow::alarmRingWindow(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("alarmRingWindow"));
    setWindowTitle(tr("Vurn - アラーム"));
    // Closing it must never end the program while the main window sits in the tray.
    setAttribute(Qt::WA_QuitOnClose, false);
    // A group of its own: the settings window, a message box or a file
    // dialog left open must not block the buttons that end the ringing. Only
    // modal windows of its own (there are none) could.
    setAttribute(Qt::WA_GroupLeader);

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

void alarmRingWindow::present()
{
    stopButton->setFocus();
    // Shown first: the layout sizes only what is shown.
    show();
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect room = screen ? screen->availableGeometry() : QRect();
    int width = qMax(minimumWidth(), sizeHint().width());
    if (room.isValid())
        width = qMin(width, room.width());
    resize(width, height());
    fitHeight();
    // In the middle of the screen, where a sleepy eye looks first.
    if (room.isValid())
        move(room.center() - rect().center());
    raise();
    activateWindow();
}

void alarmRingWindow::setAlarmTime(const QString &hhmm)
{
    timeLabel->setText(hhmm);
    fitHeight();
}

void alarmRingWindow::setNowPlaying(const QString &text)
{
    playingLabel->setText(text);
    fitHeight();
}

void alarmRingWindow::setMuted(bool muted)
{
    mutedLabel->setVisible(muted);
    unmuteButton->setVisible(muted);
    fitHeight();
}

void alarmRingWindow::setOutputWarning(const QString &text)
{
    outputLabel->setText(text);
    outputLabel->setVisible(!text.isEmpty());
    fitHeight();
}

void alarmRingWindow::setPlaylistNote(const QString &text)
{
    playlistLabel->setText(text);
    playlistLabel->setVisible(!text.isEmpty());
    fitHeight();
}

void alarmRingWindow::fitHeight()
{
    // A window's layout does not grow it for wrapped text (it drops the
    // minimum height instead), so the message would be cut: ask for the
    // height at this width and hold it.
    if (!isVisible())
        return;
    layout()->activate();
    const int needed = layout()->totalHeightForWidth(width());
    if (needed <= 0 || (needed == minimumHeight() && needed == height()))
        return;
    const QPoint centre = geometry().center();
    setMinimumHeight(needed);
    resize(width(), needed);
    move(pos() + centre - geometry().center());
}

void alarmRingWindow::closeEvent(QCloseEvent *event)
{
    // Closed from the title bar while ringing: the same as the stop button.
    if (isVisible())
        emit stopClicked();
    event->accept();
}

void alarmRingWindow::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Buttons outside a dialog leave these keys to their window.
        if (auto *focused = qobject_cast<QPushButton *>(focusWidget()); focused && focused->isVisible())
            focused->click();
        else
            stopButton->click();
        return;
    case Qt::Key_Escape:
        stopButton->click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

#include "moc_alarmringwindow.cpp"
