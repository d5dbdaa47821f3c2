#include "forms/textfit.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QVector>

#include <algorithm>

namespace {

bool hasOwnText(const QWidget *widget)
{
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return !label->wordWrap() && !label->text().isEmpty() && label->textFormat() != Qt::RichText
               && !Qt::mightBeRichText(label->text());
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QComboBox *>(widget)
           || qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QGroupBox *>(widget);
}

QSize textHint(const QWidget *widget)
{
    if (qobject_cast<const QGroupBox *>(widget))
        return widget->minimumSizeHint(); // the title and its frame
    return widget->sizeHint();
}

struct Placed
{
    QWidget *widget;
    QRect before; // as drawn
    QRect now;
};

bool rowsOverlap(const QRect &a, const QRect &b)
{
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

bool columnsOverlap(const QRect &a, const QRect &b)
{
    return a.left() <= b.right() && b.left() <= a.right();
}

// Fits the children and answers how much the container must grow.
// `room`: the container's drawn size where it is known before it is shown
// (a page's area, a group box's frame); its children then keep what they had
// of their margin to its far edges. Without it, growth is measured beyond
// the drawing's extent.
QSize fitContainer(QWidget *container, QSize room = QSize());

// Plain holders of drawn widgets; views, editors and choosers arrange their
// own insides.
bool isHolder(const QWidget *widget)
{
    const QMetaObject *kind = widget->metaObject();
    return !widget->layout()
           && (kind == &QWidget::staticMetaObject || kind == &QFrame::staticMetaObject
               || qobject_cast<const QGroupBox *>(widget));
}

// The room a tab widget leaves its pages at the current font. Worked out
// from the style rather than read off the page stack, which a tab widget
// lays out only once it is shown.
QSize pageArea(QTabWidget *tabs)
{
    QStyleOptionTabWidgetFrame option;
    option.initFrom(tabs);
    option.rect = tabs->rect();
    option.shape = tabs->tabBar()->shape();
    option.lineWidth = tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tabs);
    const QSize bar = tabs->tabBar()->sizeHint();
    option.tabBarSize = QSize(std::min(bar.width(), tabs->width()), bar.height());
    option.tabBarRect = QRect(QPoint(0, 0), option.tabBarSize);
    return tabs->style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, tabs).size();
}

QSize grownTabs(QTabWidget *tabs)
{
    const QSize area = pageArea(tabs);
    QSize growth(0, 0);
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget *page = tabs->widget(i);
        if (!isHolder(page))
            continue;
        // Measured against the page's area, the growth keeps everything inside it.
        growth = growth.expandedTo(fitContainer(page, area));
    }
    return growth;
}

// How much a child must grow: for its own text, and for what it holds.
QSize growthOf(QWidget *child)
{
    QSize growth(0, 0);
    if (auto *tabs = qobject_cast<QTabWidget *>(child))
        return grownTabs(tabs).expandedTo(QSize(0, 0));
    if (isHolder(child))
        growth = fitContainer(child, qobject_cast<QGroupBox *>(child) ? child->size() : QSize());
    if (hasOwnText(child)) {
        const QSize hint = textHint(child);
        growth = growth.expandedTo(QSize(hint.width() - child->width(), hint.height() - child->height()));
    }
    return growth.expandedTo(QSize(0, 0));
}

// Drawn next to each other, not on top of each other (a notice over a whole
// tab); the designer's one-pixel overlaps of adjacent widgets do not count.
bool drawnApart(const QRect &a, const QRect &b)
{
    return !a.adjusted(1, 1, -1, -1).intersects(b.adjusted(1, 1, -1, -1));
}

// A notice drawn on top of nearly the whole drawing (a "not available yet"
// over a tab): the widgets under it stick out by a pixel or two here and there.
bool coversOthers(const Placed &item, const QVector<Placed> &placed, const QRect &drawn)
{
    if (item.before.width() * 10 < drawn.width() * 9 || item.before.height() * 10 < drawn.height() * 9)
        return false;
    for (const Placed &other : placed) {
        if (&other != &item && !drawnApart(item.before, other.before))
            return true;
    }
    return false;
}

// Where a group box's contents start under its title at the current font.
int contentsTop(const QGroupBox *group)
{
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = Qt::Alignment(group->alignment());
    option.subControls = QStyle::SC_GroupBoxFrame;
    if (!group->title().isEmpty())
        option.subControls |= QStyle::SC_GroupBoxLabel;
    if (group->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    if (group->isFlat())
        option.features |= QStyleOptionFrame::Flat;
    return group->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, group).top();
}

// A grown widget keeps at most this much of the drawn gap to its neighbour
// (left edge minus right edge), and at least the second, four pixels free:
// its text now fills it to the edge, where the drawn one may have touched
// its neighbour with room to spare inside.
const int keptGap = 12;
const int grownGap = 5;

// Fits the children of a container without a layout, pushing along what
// stood right of or below a grown widget.
QSize fitContainer(QWidget *container, QSize room)
{
    QVector<Placed> placed;
    for (QObject *object : container->children()) {
        auto *child = qobject_cast<QWidget *>(object);
        if (child && !child->isWindow())
            placed.append({child, child->geometry(), child->geometry()});
    }
    if (placed.isEmpty())
        return QSize(0, 0);

    QRect drawn;
    for (Placed &item : placed) {
        drawn |= item.before;
        item.now.setSize(item.now.size() + growthOf(item.widget));
    }
    // A taller group title would run into what was drawn just below it.
    if (auto *group = qobject_cast<QGroupBox *>(container)) {
        const int below = contentsTop(group) - drawn.top();
        if (below > 0) {
            for (Placed &item : placed)
                item.now.translate(0, below);
        }
    }
    // A few passes settle chains of neighbours.
    for (int pass = 0; pass < 16; ++pass) {
        bool moved = false;
        for (const Placed &a : placed) {
            for (Placed &b : placed) {
                if (&a == &b || !drawnApart(a.before, b.before))
                    continue;
                // Drawn edges may share a pixel or two.
                const bool right = b.before.left() >= a.before.right() - 1;
                const bool below = b.before.top() >= a.before.bottom() - 1;
                int gapX = std::min(keptGap, b.before.left() - a.before.right());
                if (a.now.width() > a.before.width())
                    gapX = std::max(gapX, grownGap);
                const int needX = a.now.right() + gapX - b.now.left();
                const int needY = a.now.bottom() + std::min(keptGap, b.before.top() - a.before.bottom()) - b.now.top();
                bool sideways;
                if (right && rowsOverlap(a.before, b.before))
                    sideways = true;
                else if (below && columnsOverlap(a.before, b.before))
                    sideways = false;
                else if (right && below && !drawnApart(a.now, b.now))
                    sideways = needX <= needY; // reached diagonally: the shorter way
                else
                    continue;
                if (sideways && needX > 0) {
                    b.now.translate(needX, 0);
                    moved = true;
                } else if (!sideways && needY > 0) {
                    b.now.translate(0, needY);
                    moved = true;
                }
            }
        }
        if (!moved)
            break;
    }
    QRect fitted;
    bool changed = false;
    for (const Placed &item : placed) {
        fitted |= item.now;
        changed = changed || item.now != item.before;
    }
    QSize growth;
    if (room.isValid()) {
        // Measured from the container's own edges: a notice drawn over the
        // whole of it must not swallow the margin of what grew.
        int right = room.width() - 1, bottom = room.height() - 1;
        for (const Placed &item : placed) {
            right = std::max(right, item.now.right() + std::clamp(room.width() - 1 - item.before.right(), 0, keptGap));
            bottom = std::max(bottom, item.now.bottom() + std::clamp(room.height() - 1 - item.before.bottom(), 0, keptGap));
        }
        growth = QSize(right - (room.width() - 1), bottom - (room.height() - 1));
    } else {
        growth = QSize(std::max(0, fitted.right() - drawn.right()), std::max(0, fitted.bottom() - drawn.bottom()));
    }
    for (Placed &item : placed) {
        // A notice drawn over the widgets it hides keeps hiding all of them.
        if (changed && coversOthers(item, placed, drawn))
            item.now = item.before.united(fitted);
        if (item.now != item.before)
            item.widget->setGeometry(item.now);
    }
    return growth;
}

} // namespace

int textFit::neededWidth(const QWidget *widget)
{
    return hasOwnText(widget) ? std::max(widget->width(), textHint(widget).width()) : widget->width();
}

int textFit::neededHeight(const QWidget *widget)
{
    return hasOwnText(widget) ? std::max(widget->height(), textHint(widget).height()) : widget->height();
}

void textFit::fitWindow(QWidget *window)
{
    window->ensurePolished();
    // A main window's central widget holds the drawing.
    auto *mainWindow = qobject_cast<QMainWindow *>(window);
    QWidget *content = mainWindow ? mainWindow->centralWidget() : window;
    if (!content || content->layout())
        return;
    const QSize growth = content == window ? fitContainer(window) : growthOf(content);
    if (growth.width() <= 0 && growth.height() <= 0)
        return;
    const QSize size = window->size() + growth;
    if (window->minimumSize() == window->maximumSize())
        window->setFixedSize(size);
    else
        window->resize(size);
}
