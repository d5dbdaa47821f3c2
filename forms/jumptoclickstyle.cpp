#include "forms/jumptoclickstyle.h"

#include <QAbstractSlider>

jumpToClickStyle::jumpToClickStyle(const QString &baseStyle) : QProxyStyle(baseStyle)
{
}

void jumpToClickStyle::applyTo(QAbstractSlider *slider)
{
    // A base of its own, made from the name of the slider's style: a proxy
    // would otherwise take over (and delete) the application's style object.
    auto *style = new jumpToClickStyle(slider->style()->objectName());
    style->setParent(slider);
    slider->setStyle(style);
}

int jumpToClickStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                                QStyleHintReturn *returnData) const
{
    if (hint == QStyle::SH_Slider_AbsoluteSetButtons)
        return Qt::LeftButton;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
