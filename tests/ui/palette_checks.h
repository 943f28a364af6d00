// A dark desktop palette, and a measure of whether text can be read.
#pragma once

#include <QHash>
#include <QImage>
#include <QPalette>
#include <QRect>

inline QPalette DarkPalette() {
  QPalette dark;
  const QColor window(45, 45, 48), base(30, 30, 32), light(230, 230, 230);
  for (auto role : {QPalette::Window, QPalette::Button}) dark.setColor(role, window);
  dark.setColor(QPalette::Base, base);
  dark.setColor(QPalette::AlternateBase, window);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
    dark.setColor(role, light);
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::white);
  dark.setColor(QPalette::Light, QColor(80, 80, 84));
  dark.setColor(QPalette::Midlight, QColor(65, 65, 68));
  dark.setColor(QPalette::Mid, QColor(35, 35, 37));
  dark.setColor(QPalette::Dark, QColor(20, 20, 22));
  dark.setColor(QPalette::Shadow, Qt::black);
  dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
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
