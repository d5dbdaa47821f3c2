#pragma once

#include <QProxyStyle>

class QAbstractSlider;

// Sliders whose groove takes the handle to where it was clicked, as players'
// seek and volume bars do, instead of stepping a page towards it. The handle
// then follows the mouse until it is released.
class jumpToClickStyle : public QProxyStyle
{
    Q_OBJECT
public:
    // Gives the slider this style, on top of the one it has; the style lives
    // as long as the slider.
    static void applyTo(QAbstractSlider *slider);

    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;

private:
    explicit jumpToClickStyle(const QString &baseStyle);
};
