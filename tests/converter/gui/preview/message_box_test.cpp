// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/message_box.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "tests/converter/gui/preview/box_watcher.h"

namespace {

TEST(MessageBoxTest, AnsweredBoxesReturnTheButtonPressed) {
  struct Case {
    unsigned style;
    QMessageBox::StandardButton press;
    int result;
  } cases[] = {{kMbOkCancel | kMbIconWarning, QMessageBox::Ok, kIdOk},
               {kMbOkCancel | kMbIconWarning, QMessageBox::Cancel, kIdCancel},
               {kMbYesNo | kMbIconQuestion, QMessageBox::No, kIdNo},
               {kMbOk, QMessageBox::Ok, kIdOk}};
  for (const Case& c : cases) {
    BoxWatcher watcher(c.press);
    EXPECT_EQ(MessageBoxWithTimeout(nullptr, "Overwrite?", kApplicationCaption, c.style, 60000), c.result);
    ASSERT_EQ(watcher.seen().size(), 1);
    EXPECT_EQ(watcher.seen()[0].caption, "Norvik KDX Video Converter");
  }
}

TEST(MessageBoxTest, UnansweredBoxClosesItselfWithNeitherOkNorCancel) {
  BoxWatcher watcher(QMessageBox::NoButton);
  QElapsedTimer clock;
  clock.start();
  const int result = MessageBoxWithTimeout(nullptr, "File exists.\r\nOverwrite it?", "Caption",
                                           kMbOkCancel | kMbIconWarning, 300);
  EXPECT_EQ(result, kIdTimeout);
  EXPECT_NE(result, kIdOk);
  EXPECT_NE(result, kIdCancel);
  EXPECT_GE(clock.elapsed(), 250);
  ASSERT_EQ(watcher.seen().size(), 1);
  const SeenBox& box = watcher.seen()[0];
  EXPECT_EQ(box.caption, "Caption");
  EXPECT_EQ(box.text, "File exists.\nOverwrite it?");
  EXPECT_EQ(box.icon, QMessageBox::Warning);
  EXPECT_EQ(box.buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Ok, QMessageBox::Cancel}));
}

TEST(MessageBoxTest, WarningBoxHasTheProgramsCaptionIconAndOkAlone) {
  BoxWatcher watcher;
  ShowWarningBox(nullptr, "Could not stop graph");
  ASSERT_EQ(watcher.seen().size(), 1);
  const SeenBox& box = watcher.seen()[0];
  EXPECT_EQ(box.caption, "Norvik KDX Video Converter");
  EXPECT_EQ(box.text, "Could not stop graph");
  EXPECT_EQ(box.icon, QMessageBox::Warning);
  EXPECT_EQ(box.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
}

}  // namespace
