#include "desktop/trayicon.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QSystemTrayIcon>

namespace {

// A round clock face with a note-like hand: drawn, so nothing is needed from the theme.
QIcon drawnIcon()
{
    QIcon icon;
    for (const int size : {16, 22, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal pen = qMax(1.0, size / 12.0);
        painter.setPen(QPen(QColor(0x20, 0x4a, 0x87), pen));
        painter.setBrush(QColor(0x72, 0x9f, 0xcf));
        painter.drawEllipse(QRectF(pen, pen, size - 2 * pen, size - 2 * pen));
        painter.setPen(QPen(Qt::white, pen * 1.2, Qt::SolidLine, Qt::RoundCap));
        const QPointF centre(size / 2.0, size / 2.0);
        painter.drawLine(centre, QPointF(size / 2.0, size * 0.22));
        painter.drawLine(centre, QPointF(size * 0.72, size / 2.0));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace

trayIcon::trayIcon(QObject *parent)
    : QObject(parent)
{
    contextMenu = new QMenu();
    showHideAction = contextMenu->addAction(tr("ウィンドウを隠す"));
    contextMenu->addSeparator();
    playAction = contextMenu->addAction(tr("再生／停止"));
    pauseAction = contextMenu->addAction(tr("一時停止"));
    nextAction = contextMenu->addAction(tr("次の曲"));
    contextMenu->addSeparator();
    stopAlarmAction = contextMenu->addAction(tr("アラームを停止"));
    snoozeAction = contextMenu->addAction(tr("スヌーズ"));
    contextMenu->addSeparator();
    quitAction = contextMenu->addAction(tr("終了"));
    setRinging(false);

    connect(showHideAction, &QAction::triggered, this, &trayIcon::showHideRequested);
    connect(playAction, &QAction::triggered, this, &trayIcon::playRequested);
    connect(pauseAction, &QAction::triggered, this, &trayIcon::pauseRequested);
    connect(nextAction, &QAction::triggered, this, &trayIcon::nextRequested);
    connect(stopAlarmAction, &QAction::triggered, this, &trayIcon::stopAlarmRequested);
    connect(snoozeAction, &QAction::triggered, this, &trayIcon::snoozeRequested);
    connect(quitAction, &QAction::triggered, this, &trayIcon::quitRequested);

    icon = new QSystemTrayIcon(drawnIcon(), this);
    icon->setContextMenu(contextMenu);
    connect(icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            emit showHideRequested();
    });
}

trayIcon::~trayIcon()
{
    delete contextMenu;
}

bool trayIcon::isAvailable()
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void trayIcon::show()
{
    icon->show();
}

bool trayIcon::isVisible() const
{
    return icon->isVisible();
}

void trayIcon::setToolTip(const QString &text)
{
    if (icon->toolTip() != text)
        icon->setToolTip(text);
}

void trayIcon::addSleepControls(QAction *stopAfter, QMenu *sleepMenu)
{
    const QList<QAction *> actions = contextMenu->actions();
    const int after = actions.indexOf(nextAction);
    QAction *before = after + 1 < actions.size() ? actions.at(after + 1) : nullptr;
    contextMenu->insertAction(before, stopAfter);
    contextMenu->insertMenu(before, sleepMenu);
}

void trayIcon::setWindowShown(bool shown)
{
    showHideAction->setText(shown ? tr("ウィンドウを隠す") : tr("ウィンドウを表示"));
}

void trayIcon::setRinging(bool ringing)
{
    stopAlarmAction->setVisible(ringing);
    snoozeAction->setVisible(ringing);
}

void trayIcon::showMessage(const QString &title, const QString &text)
{
    icon->showMessage(title, text, QSystemTrayIcon::Information, 10000);
}

QMenu *trayIcon::menu() const
{
    return contextMenu;
}

#include "moc_trayicon.cpp"
