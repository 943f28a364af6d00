// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures of windows saved into build/screens/, so the program can be
// looked at without a display.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QWidget>

inline void Save(const QImage& picture, const QString& name) {
  const QString folder = QStringLiteral(KDX_SCREENS_DIR);
  ASSERT_TRUE(QDir().mkpath(folder));
  ASSERT_TRUE(picture.save(folder + "/" + name));
  EXPECT_FALSE(QImage(folder + "/" + name).isNull());
}

inline QImage Picture(QWidget& widget) {
  QApplication::processEvents();
  return widget.grab().toImage();
}
