// SPDX-License-Identifier: GPL-2.0-or-later
// A dark desktop palette, and a measure of whether text can be read.
#pragma once

#include <QHash>
#include <QImage>
#include <QPalette>
#include <QRect>

inline QPalette DarkPalette() {
  QPalette dark(QColor(45, 45, 48), QColor(30, 30, 32));  // button, window
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) dark.setColor(role, QColor(230, 230, 230));
  dark.setColor(QPalette::Base, QColor(30, 30, 32));
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    dark.setColor(QPalette::Disabled, role, QColor(120, 120, 120));
  return dark;
}

// Pixels of the middle of `area` (a progress bar's cell) that stand out
// clearly from its most common colour: the strokes of a label that can be read.
inline int StandingOutPixels(const QImage& image, const QRect& area) {
  const QRect middle =
      QRect(area.left() + area.width() / 4, area.top() + 4, area.width() / 2, area.height() - 8).intersected(image.rect());
  QHash<QRgb, int> counts;
  for (int y = middle.top(); y <= middle.bottom(); ++y)
    for (int x = middle.left(); x <= middle.right(); ++x) ++counts[image.pixel(x, y)];
  QRgb under = 0;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it)
    if (it.value() > counts.value(under)) under = it.key();
  int standing = 0;
  for (int y = middle.top(); y <= middle.bottom(); ++y)
    for (int x = middle.left(); x <= middle.right(); ++x) standing += qAbs(qGray(image.pixel(x, y)) - qGray(under)) > 90;
  return standing;
}
