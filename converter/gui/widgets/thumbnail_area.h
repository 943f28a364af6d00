// SPDX-License-Identifier: GPL-2.0-or-later
// The black area conversion thumbnails are drawn in, over the preview area.
#pragma once

#include <QImage>
#include <QWidget>

class ThumbnailArea : public QWidget {
 public:
  explicit ThumbnailArea(QWidget* parent = nullptr);

  // A null picture leaves the area black. atOwnSize centres the picture at
  // its own size; otherwise it is stretched over the area.
  void SetPicture(const QImage& picture, bool atOwnSize);
  const QImage& picture() const { return m_picture; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage m_picture;
  bool m_atOwnSize = false;
};
