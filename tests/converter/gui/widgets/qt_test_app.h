// SPDX-License-Identifier: GPL-2.0-or-later
// The application object every control test needs, and small helpers.
#pragma once

#include <QImage>
#include <QWidget>

namespace uitest {

// Shows the widget and waits until it has been laid out and exposed.
void ShowAndWait(QWidget& widget);
// What the widget looks like right now.
QImage Picture(QWidget& widget);
// How many pixels of the area have this colour, each channel within `tolerance`.
int CountColour(const QImage& image, const QRect& area, const QColor& colour, int tolerance = 0);

}  // namespace uitest
