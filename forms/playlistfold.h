#pragma once

#include <QList>
#include <QMargins>
#include <QObject>
#include <QPointer>

class QLayout;
class QMainWindow;
class QWidget;

// Folds a player window down to what plays: the playlist's parts hide (the
// list, its find bar, its toolbar) and the window shrinks to the height the
// rest needs, so nothing is squeezed or peeks out below it. Unfolding shows
// each part as it was and gives the window back its height.
class playlistFold : public QObject
{
    Q_OBJECT
public:
    // The window's current height is the one unfolding returns to until
    // the window is first folded.
    playlistFold(QMainWindow *window, const QList<QWidget *> &listParts);

    bool isFolded() const { return folded; }
    void fold();
    // Also for a window that was never folded but made short by hand.
    void unfold();

private:
    QLayout *centralLayout() const;

    QMainWindow *window;
    QMargins unfoldedMargins;
    QList<QPointer<QWidget>> parts;
    QList<bool> shownBeforeFold;
    int unfoldedHeight;
    bool folded = false;
};
