#include "support/textcheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOption>
#include <QTextDocument>
#include <QTimeEdit>
#include <QToolBar>
#include <QToolButton>

namespace {

int advance(const QWidget *widget, QString text)
{
    text.remove(QLatin1Char('&'));
    return widget->fontMetrics().horizontalAdvance(text);
}

QString describe(const QWidget *widget, const QString &text, int room, int needed)
{
    return QStringLiteral("%1 \"%2\": %3 px for %4 px")
        .arg(widget->objectName().isEmpty() ? QLatin1String(widget->metaObject()->className())
                                            : widget->objectName(),
             text)
        .arg(room)
        .arg(needed);
}

int buttonRoom(const QAbstractButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    option.icon = button->icon();
    option.iconSize = button->iconSize();
    QStyle::SubElement element = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(button))
        element = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(button))
        element = QStyle::SE_RadioButtonContents;
    int room = button->style()->subElementRect(element, &option, button).width();
    return room;
}

int comboRoom(const QComboBox *combo)
{
    QStyleOptionComboBox option;
    option.initFrom(combo);
    option.editable = combo->isEditable();
    option.currentText = combo->currentText();
    option.frame = combo->hasFrame();
    return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
}

int spinRoom(const QAbstractSpinBox *spin)
{
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.frame = spin->hasFrame();
    option.subControls = QStyle::SC_SpinBoxEditField | QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.buttonSymbols = spin->buttonSymbols();
    const QRect field = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, spin);
    // The editor inside keeps its own text margins.
    return field.width() - 2 * 2;
}

} // namespace

QStringList cutTexts(QWidget *root)
{
    QStringList cut;
    QList<QWidget *> widgets = root->findChildren<QWidget *>();
    widgets.prepend(root);
    for (QWidget *widget : widgets) {
        if (!widget->isVisibleTo(root) && widget != root)
            continue;
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            if (label->wordWrap() || label->text().isEmpty() || Qt::mightBeRichText(label->text()))
                continue;
            const int room = label->contentsRect().width() - 2 * label->margin() - qMax(0, label->indent());
            const int needed = advance(label, label->text());
            if (room < needed)
                cut << describe(label, label->text(), room, needed);
        } else if (auto *toolButton = qobject_cast<QToolButton *>(widget)) {
            // A toolbar's text buttons: each in view, at its full size.
            if (!qobject_cast<QToolBar *>(toolButton->parentWidget()) || toolButton->text().isEmpty()
                || toolButton->objectName() == QLatin1String("qt_toolbar_ext_button"))
                continue;
            if (toolButton->width() < toolButton->sizeHint().width()
                || !toolButton->parentWidget()->rect().contains(toolButton->geometry()))
                cut << describe(toolButton, toolButton->text(), toolButton->width(), toolButton->sizeHint().width());
        } else if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
            if (button->text().isEmpty())
                continue;
            const int room = buttonRoom(button);
            const int needed = advance(button, button->text());
            if (room < needed)
                cut << describe(button, button->text(), room, needed);
        } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
            const int room = comboRoom(combo);
            for (int i = 0; i < combo->count(); ++i) {
                const int needed = advance(combo, combo->itemText(i));
                if (room < needed)
                    cut << describe(combo, combo->itemText(i), room, needed);
            }
        } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(widget)) {
            QString widest = spin->text();
            if (auto *numbers = qobject_cast<QSpinBox *>(spin))
                widest = numbers->prefix() + QString::number(numbers->maximum()) + numbers->suffix();
            const int room = spinRoom(spin);
            const int needed = advance(spin, widest);
            if (room < needed)
                cut << describe(spin, widest, room, needed);
        } else if (auto *group = qobject_cast<QGroupBox *>(widget)) {
            if (group->width() < group->minimumSizeHint().width())
                cut << describe(group, group->title(), group->width(), group->minimumSizeHint().width());
        }
    }
    return cut;
}

QStringList overlappingWidgets(QWidget *root, const QStringList &ignored)
{
    QStringList found;
    QList<QWidget *> containers = root->findChildren<QWidget *>();
    containers.prepend(root);
    for (QWidget *container : containers) {
        QList<QWidget *> shown;
        for (QWidget *child : container->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->isVisible() && !child->isWindow() && !ignored.contains(child->objectName()))
                shown << child;
        }
        for (int i = 0; i < shown.size(); ++i) {
            for (int j = i + 1; j < shown.size(); ++j) {
                const QRect a = shown.at(i)->geometry().adjusted(1, 1, -1, -1);
                if (a.intersects(shown.at(j)->geometry().adjusted(1, 1, -1, -1)))
                    found << shown.at(i)->objectName() + QLatin1Char('/') + shown.at(j)->objectName();
            }
        }
    }
    return found;
}
