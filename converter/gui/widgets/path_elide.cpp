// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/path_elide.h"

#include <QFontMetrics>
#include <QStringList>

namespace {

const QString kEllipsis = QStringLiteral("...");

}  // namespace

QString ElidePathMiddle(const QString& path, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(path) <= width) return path;
  const int lastSlash = path.lastIndexOf(QLatin1Char('/'));
  if (lastSlash <= 0) return metrics.elidedText(path, Qt::ElideMiddle, width);

  // Drop whole folders from the end of the head until the rest fits.
  const QString tail = path.mid(lastSlash);
  QStringList head = path.left(lastSlash).split(QLatin1Char('/'));
  while (!head.isEmpty()) {
    const QString candidate = head.join(QLatin1Char('/')) + QLatin1Char('/') + kEllipsis + tail;
    if (metrics.horizontalAdvance(candidate) <= width) return candidate;
    head.removeLast();
  }
  // Not even the last part fits: keep as much of its both ends as fits.
  return metrics.elidedText(kEllipsis + tail, Qt::ElideMiddle, width);
}
