// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/dialog_units.h"

#include <QFontMetrics>
#include <QString>

namespace {

// Smaller than this no text is readable, whatever the screen.
constexpr double kSmallestPointSize = 5.0;
constexpr double kPointStep = 0.5;

// Average width of the 52 letters, rounded to the nearest pixel.
int AverageLetterWidth(const QFontMetrics& metrics) {
  const int total = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return qMax(1, (total + 26) / 52);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  m_baseWidth = AverageLetterWidth(metrics);
  m_baseHeight = qMax(1, metrics.height());
}

QRect DialogUnits::Rect(int left, int top, int width, int height) const {
  // Both corners are converted, so neighbouring controls meet as in the template.
  const int x = X(left);
  const int y = Y(top);
  return {x, y, X(left + width) - x, Y(top + height) - y};
}

QFont FitTemplateFont(const QFont& font, QSize templateUnits, QSize room) {
  QFont fitted = font;
  for (double size = font.pointSizeF(); size > kSmallestPointSize; size -= kPointStep) {
    fitted.setPointSizeF(size);
    const QSize needed = DialogUnits(fitted).Size(templateUnits.width(), templateUnits.height());
    if (needed.width() <= room.width() && needed.height() <= room.height()) return fitted;
  }
  // A font given in pixels, or already at the last size, stays as it is.
  if (font.pointSizeF() > kSmallestPointSize) fitted.setPointSizeF(kSmallestPointSize);
  return fitted;
}
