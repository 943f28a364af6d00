// SPDX-License-Identifier: GPL-2.0-or-later
// Shows the selected player: a bitmap file drawn at the top-left corner with
// magenta (255, 0, 255) left out, on the window's own colour so it sits on
// the window in any palette. Without a readable file only the background shows.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

class CDevicePiture : public QWidget {
 public:
  explicit CDevicePiture(QWidget* parent = nullptr);

  // Loads the picture at once and repaints.
  void SetBitmapPath(const QString& path);
  QString GetBitmapPath() const { return m_path; }
  // False when no picture could be loaded from the path.
  bool HasPicture() const { return !m_picture.isNull(); }

  // The image with every magenta pixel made transparent.
  static QImage MaskMagenta(const QImage& image);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString m_path;
  QImage m_picture;
};
