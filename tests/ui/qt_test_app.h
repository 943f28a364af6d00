// The application object every control test needs, and small helpers.
#pragma once

#include <QImage>
#include <QWidget>

namespace uitest {

// Shows the widget and waits until it has been laid out and exposed.
void ShowAndWait(QWidget& widget);
// What the widget looks like right now.
QImage Picture(QWidget& widget);
// How many pixels of the area have exactly this colour.
int CountColour(const QImage& image, const QRect& area, const QColor& colour);

}  // namespace uitest
