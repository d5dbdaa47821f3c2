#include "forms/playlistfold.h"

#include <QLayout>
#include <QMainWindow>

playlistFold::playlistFold(QMainWindow *owner, const QList<QWidget *> &listParts)
    : QObject(owner), window(owner), unfoldedHeight(owner->height())
{
    for (QWidget *part : listParts)
        parts << part;
}

QLayout *playlistFold::centralLayout() const
{
    return window->centralWidget() ? window->centralWidget()->layout() : nullptr;
}

void playlistFold::fold()
{
    if (folded)
        return;
    folded = true;
    unfoldedHeight = window->height();
    shownBeforeFold.clear();
    for (const QPointer<QWidget> &part : parts) {
        shownBeforeFold << (part && !part->isHidden());
        if (part)
            part->hide();
    }
    // What was the list's edge is now the window's: it gets the same margin
    // as the top. The layouts learn of all this at once rather than at the
    // next event loop turn, so the height asked for below is the new one.
    if (QLayout *central = centralLayout()) {
        unfoldedMargins = central->contentsMargins();
        QMargins margins = unfoldedMargins;
        margins.setBottom(qMax(margins.bottom(), margins.top()));
        central->setContentsMargins(margins);
        central->activate();
    }
    window->layout()->activate();
    const int needed = qMax(window->layout()->minimumSize().height(), window->minimumHeight());
    window->resize(window->width(), needed);
}

void playlistFold::unfold()
{
    if (folded) {
        folded = false;
        if (QLayout *central = centralLayout())
            central->setContentsMargins(unfoldedMargins);
        for (int i = 0; i < parts.size(); ++i)
            if (parts.at(i) && shownBeforeFold.value(i))
                parts.at(i)->show();
    }
    window->resize(window->width(), unfoldedHeight);
}
