// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's tests run offscreen on a laptop's screen (1366 x 768),
// with the FFmpeg media back end chosen before the application object exists.
#include <gtest/gtest.h>

#include <QApplication>

#include "converter/gui/widgets/TesselVideoFile.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  SelectPreviewMediaBackend();
  // Test discovery runs without the offscreen setting of the test runs.
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty() || platform == "offscreen")
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" KDX_TEST_SCREEN_CONFIG);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
