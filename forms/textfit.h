#pragma once

class QWidget;

// Forms drawn with fixed positions for a small font: where a text does not
// fit the platform's font, the widget grows to it and whatever stood right
// of or below it moves along, so the gaps of the drawing stay; containers and
// the window grow with their contents. Where every text fits nothing moves.
class textFit
{
public:
    // Fits every child of the window; call once its texts are set.
    static void fitWindow(QWidget *window);
    // The smallest size at which a widget shows its whole text; its own size
    // for widgets without a text of their own.
    static int neededWidth(const QWidget *widget);
    static int neededHeight(const QWidget *widget);
};
