// SPDX-License-Identifier: GPL-2.0-or-later
// The preview tests run offscreen and need the FFmpeg media back end chosen before the
// application object exists.
#include <gtest/gtest.h>

#include <QApplication>

#include "converter/gui/widgets/TesselVideoFile.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  SelectPreviewMediaBackend();
  // Test discovery runs without the offscreen setting of the test runs.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
