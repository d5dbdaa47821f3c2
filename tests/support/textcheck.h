#pragma once

#include <QStringList>

class QWidget;

// Widgets under root, shown as they are now, whose text does not fit: the
// style's content rectangle of each must hold its text's advance width (for
// a chooser, that of its widest item). Each entry names the widget and text.
QStringList cutTexts(QWidget *root);

// Pairs of shown sibling widgets under root that overlap by more than the
// designer's one pixel, as "a/b"; `ignored` are drawn over others on purpose.
QStringList overlappingWidgets(QWidget *root, const QStringList &ignored = {});
