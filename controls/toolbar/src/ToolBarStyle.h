// The style of the tool bar: the application's, except that the bar's panel is drawn one
// strip at a time. A style may draw the panel's edges as lines one pixel wide, which the
// raster engine fills pixel by pixel; a line as long as the bar is filled in batches
// large enough to be split across the toolkit's worker threads, so every paint of the
// bar wakes them dozens of times. Strips shorter than such a batch give every pixel the
// same value on the painting thread alone.
#pragma once

#include <QProxyStyle>

class CToolBarStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Over a new instance of the style named baseKey.
    explicit CToolBarStyle(const QString& baseKey);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
