#include "converter/gui/widgets/thumbnail_area.h"

#include <QPainter>

ThumbnailArea::ThumbnailArea(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void ThumbnailArea::SetPicture(const QImage& picture, bool atOwnSize) {
  picture_ = picture;
  atOwnSize_ = atOwnSize;
  update();
}

void ThumbnailArea::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (picture_.isNull()) return;
  if (atOwnSize_) {
    QRect place(QPoint(0, 0), picture_.size());
    place.moveCenter(rect().center());
    painter.drawImage(place, picture_);
  } else {
    painter.drawImage(rect(), picture_);
  }
}
