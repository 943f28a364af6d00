// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/DevicePiture.h"

#include <QPainter>

CDevicePiture::CDevicePiture(QWidget* parent) : QWidget(parent) {}

void CDevicePiture::SetBitmapPath(const QString& path) {
  m_path = path;
  m_picture = path.isEmpty() ? QImage() : MaskMagenta(QImage(path));
  update();
}

QImage CDevicePiture::MaskMagenta(const QImage& image) {
  if (image.isNull()) return {};
  QImage masked = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb magenta = qRgb(255, 0, 255);
  for (int y = 0; y < masked.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(masked.scanLine(y));
    for (int x = 0; x < masked.width(); ++x) {
      if ((line[x] | 0xff000000u) == magenta) line[x] = 0;
    }
  }
  return masked;
}

void CDevicePiture::paintEvent(QPaintEvent*) {
  if (width() <= 0 || height() <= 0) return;
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!m_picture.isNull()) painter.drawImage(QPoint(0, 0), m_picture);
}
