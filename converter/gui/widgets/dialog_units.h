// SPDX-License-Identifier: GPL-2.0-or-later
// Dialog units to pixels, the way dialog templates are laid out: a
// horizontal unit is a quarter of the font's average character width, a
// vertical unit an eighth of its height.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int baseWidth() const { return m_baseWidth; }

  int X(int units) const { return (units * m_baseWidth + 2) / 4; }
  int Y(int units) const { return (units * m_baseHeight + 4) / 8; }
  QRect Rect(int left, int top, int width, int height) const;
  QSize Size(int width, int height) const { return {X(width), Y(height)}; }

 private:
  int m_baseWidth;
  int m_baseHeight;
};

// The font for a template of `templateUnits` dialog units: `font` itself when
// the template fits `room` (pixels), else the largest smaller size that fits,
// down to a last readable size.
QFont FitTemplateFont(const QFont& font, QSize templateUnits, QSize room);
