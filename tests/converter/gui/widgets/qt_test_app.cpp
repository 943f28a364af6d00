// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/converter/gui/widgets/qt_test_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace

namespace uitest {

void ShowAndWait(QWidget& widget) {
  widget.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
  QApplication::processEvents();
}

QImage Picture(QWidget& widget) {
  QApplication::processEvents();
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

int CountColour(const QImage& image, const QRect& area, const QColor& colour, int tolerance) {
  int count = 0;
  const QRect inside = area.intersected(image.rect());
  for (int y = inside.top(); y <= inside.bottom(); ++y) {
    for (int x = inside.left(); x <= inside.right(); ++x) {
      const QColor pixel = image.pixelColor(x, y);
      if (qAbs(pixel.red() - colour.red()) <= tolerance && qAbs(pixel.green() - colour.green()) <= tolerance &&
          qAbs(pixel.blue() - colour.blue()) <= tolerance)
        ++count;
    }
  }
  return count;
}

}  // namespace uitest
