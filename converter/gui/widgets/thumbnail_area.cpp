// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/thumbnail_area.h"

#include <QPainter>

ThumbnailArea::ThumbnailArea(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void ThumbnailArea::SetPicture(const QImage& picture, bool atOwnSize) {
  m_picture = picture;
  m_atOwnSize = atOwnSize;
  update();
}

void ThumbnailArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (m_picture.isNull()) return;
  if (m_atOwnSize) {
    QRect place(QPoint(0, 0), m_picture.size());
    place.moveCenter(rect().center());
    painter.drawImage(place, m_picture);
  } else {
    painter.drawImage(rect(), m_picture);
  }
}
