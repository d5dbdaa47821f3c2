#include "forms/findbar.h"

#include "library/musicinfo.h"
#include "playlist/vurncore.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QElapsedTimer>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

findBar::findBar(vurnCore *controller, QTableView *playListTable, QWidget *parent)
    : QWidget(parent), core(controller), table(playListTable)
{
    setObjectName(QStringLiteral("findBar"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 0, 5, 0);
    layout->setSpacing(5);
    edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("findField"));
    edit->setPlaceholderText(tr("曲名・アーティスト・アルバムで検索"));
    edit->installEventFilter(this);
    result = new QLabel(this);
    result->setObjectName(QStringLiteral("findResult"));
    closeButton = new QToolButton(this);
    closeButton->setText(tr("×"));
    closeButton->setToolTip(tr("検索を閉じます (Esc)"));
    closeButton->setAutoRaise(true);
    layout->addWidget(edit, 1);
    layout->addWidget(result);
    layout->addWidget(closeButton);
    connect(edit, &QLineEdit::textChanged, this, &findBar::onTextEdited);
    connect(closeButton, &QToolButton::clicked, this, &findBar::close);
    sliceTimer = new QTimer(this);
    sliceTimer->setSingleShot(true);
    connect(sliceTimer, &QTimer::timeout, this, [this] { runSlice(false); });
    hide();
}

void findBar::open()
{
    show();
    edit->setFocus(Qt::ShortcutFocusReason);
    edit->selectAll();
}

void findBar::close()
{
    edit->clear(); // shows every row again
    filter.forgetTracks();
    hide();
    table->setFocus(Qt::OtherFocusReason);
    const QModelIndexList selected = table->selectionModel()->selectedIndexes();
    if (!selected.isEmpty())
        table->scrollTo(selected.first());
}

bool findBar::isNarrowed() const
{
    return filter.isActive();
}

int findBar::firstShownRow() const
{
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (!table->isRowHidden(row))
            return row;
    }
    return -1;
}

void findBar::refilter(bool tracksRemoved)
{
    if (tracksRemoved)
        filter.forgetTracks();
    apply();
}

void findBar::onTextEdited(const QString &text)
{
    if (filter.setQuery(text))
        apply();
}

void findBar::apply()
{
    counted = 0;
    pendingFrom = 0;
    runSlice(false);
}

void findBar::finishNow()
{
    if (pendingFrom >= 0)
        runSlice(true);
}

void findBar::runSlice(bool toTheEnd)
{
    sliceTimer->stop();
    // Read afresh each slice: an edit between slices changes the list, and
    // restarts the pass besides.
    const QList<musicInfo *> tracks = core->tracks();
    const int rows = table->model()->rowCount();
    const bool active = filter.isActive();
    QElapsedTimer budget;
    budget.start();
    // Hiding rows one by one with updates on costs the header a pass over
    // every row each time; with updates off the whole table takes milliseconds.
    table->setUpdatesEnabled(false);
    int row = pendingFrom;
    for (; row < rows; ++row) {
        const bool match = !active || (row < tracks.size() && filter.matches(tracks.at(row)));
        if (table->isRowHidden(row) == match)
            table->setRowHidden(row, !match);
        counted += match ? 1 : 0;
        // The first pass over a long list also folds every track's text: it
        // goes on after the events that came meanwhile.
        if (!toTheEnd && (row & 511) == 511 && budget.elapsed() >= 30)
            break;
    }
    table->setUpdatesEnabled(true);
    if (row < rows) {
        pendingFrom = row + 1;
        sliceTimer->start(0);
        return;
    }
    pendingFrom = -1;
    shown = counted;
    if (!active)
        result->clear();
    else if (shown == 0)
        result->setText(tr("該当する曲はありません"));
    else
        result->setText(tr("%n 曲", nullptr, shown));
    emit narrowed();
}

void findBar::moveIntoTable(bool fromTop)
{
    finishNow();
    int target = -1;
    for (int i = 0; i < table->model()->rowCount(); ++i) {
        const int row = fromTop ? i : table->model()->rowCount() - 1 - i;
        if (!table->isRowHidden(row)) {
            target = row;
            break;
        }
    }
    table->setFocus(Qt::TabFocusReason);
    if (target >= 0)
        table->selectRow(target);
}

bool findBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != edit || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        finishNow();
        const int row = firstShownRow();
        if (row >= 0 && (isNarrowed() || table->model()->rowCount() > 0))
            emit playRequested(row);
        return true;
    }
    case Qt::Key_Down:
        moveIntoTable(true);
        return true;
    case Qt::Key_Up:
        moveIntoTable(false);
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    default:
        return QWidget::eventFilter(watched, event);
    }
}
