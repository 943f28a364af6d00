// SPDX-License-Identifier: GPL-2.0-or-later
// The player picture and the path field.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "converter/gui/widgets/DevicePiture.h"
#include "converter/gui/widgets/FilenameEdit.h"
#include "tests/converter/gui/widgets/qt_test_app.h"

namespace {

TEST(DevicePitureTest, DrawsTheBitmapWithMagentaLeftOutOrOnlyTheBackground) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  // Left half magenta, right half blue, as a 24-bit BMP.
  QImage bitmap(40, 30, QImage::Format_RGB888);
  bitmap.fill(QColor(255, 0, 255));
  for (int y = 0; y < 30; ++y) {
    for (int x = 20; x < 40; ++x) bitmap.setPixelColor(x, y, QColor(0, 0, 200));
  }
  const QString path = dir.filePath("NK-176T.bmp");
  ASSERT_TRUE(bitmap.save(path, "BMP"));

  CDevicePiture picture;
  picture.resize(80, 60);
  QPalette palette = picture.palette();
  palette.setColor(QPalette::Button, QColor(90, 90, 90));  // the picture sits on the window, not a button
  palette.setColor(QPalette::Window, QColor(200, 210, 220));
  picture.setPalette(palette);
  const QColor face(200, 210, 220);
  picture.SetBitmapPath(path);
  uitest::ShowAndWait(picture);
  ASSERT_TRUE(picture.HasPicture());
  QImage shown = uitest::Picture(picture);
  EXPECT_EQ(shown.pixelColor(5, 5), face) << "magenta is left out";
  EXPECT_EQ(shown.pixelColor(30, 5), QColor(0, 0, 200));
  EXPECT_EQ(shown.pixelColor(39, 29), QColor(0, 0, 200)) << "drawn at the top-left corner";
  EXPECT_EQ(shown.pixelColor(60, 45), face);

  picture.SetBitmapPath(dir.filePath("NK-999.bmp"));
  EXPECT_FALSE(picture.HasPicture());
  shown = uitest::Picture(picture);
  EXPECT_EQ(uitest::CountColour(shown, shown.rect(), face), 80 * 60);
}

TEST(FilenameEditTest, LongPathShowsItsEndsWhileReadingGivesAllOfIt) {
  const QString path = "/home/ingrid/Videos/Holiday 2026/Norway by the coast/Day three/Evening/converted";
  CFilenameEdit edit;
  edit.resize(220, edit.sizeHint().height());
  uitest::ShowAndWait(edit);
  edit.SetFilename(path);

  const QString shown = edit.text();
  EXPECT_TRUE(shown.startsWith("/home")) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(".../converted")) << shown.toStdString();
  EXPECT_LE(edit.fontMetrics().horizontalAdvance(shown), edit.width());
  EXPECT_EQ(edit.toolTip(), path);
  EXPECT_EQ(edit.GetFilename(), path);

  // Wide enough: the whole path shows; narrow again: shortened again.
  edit.resize(edit.fontMetrics().horizontalAdvance(path) + 60, edit.height());
  QApplication::processEvents();
  EXPECT_EQ(edit.text(), path);
  edit.resize(120, edit.height());
  QApplication::processEvents();
  EXPECT_NE(edit.text(), path);
  EXPECT_EQ(edit.GetFilename(), path);

  // Typing replaces the path.
  edit.selectAll();
  QTest::keyClicks(&edit, "/tmp/out");
  EXPECT_EQ(edit.GetFilename(), "/tmp/out");
  EXPECT_EQ(edit.toolTip(), "/tmp/out");
}

}  // namespace
