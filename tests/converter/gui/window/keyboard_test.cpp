// SPDX-License-Identifier: GPL-2.0-or-later
// A whole batch driven with the keyboard only: files added through the Add
// dialog, ticked and unticked with Space, a name edited with Enter, Convert
// and Cancel by their mnemonic, then Quit.
#include <QApplication>
#include <QFileDialog>
#include <QComboBox>
#include <QTreeWidget>

#include "converter/gui/widgets/FilenameEdit.h"
#include "converter/gui/widgets/OptionTree.h"
#include "tests/converter/gui/window/conversion_fixture.h"
#include "converter/core/request/converter_settings.h"

namespace {

void Press(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  ASSERT_NE(target, nullptr);
  QTest::keyClick(target, key, modifiers);
}

QWidget* Focus(CHalvardVideoConverterDlg& dialog) { return dialog.focusWidget(); }

class KeyboardTest : public ConversionTest {
 protected:
  // Enter on the focused Add button, the file chosen in the open dialog.
  void AddWithKeys(const QString& path) {
    ASSERT_EQ(Focus(*dialog), Get<QPushButton>("addButton"));
    bool typed = false;
    QTimer::singleShot(0, [&] {
      QFileDialog* files = nullptr;
      if (!QTest::qWaitFor([&] { return (files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())); }, 5000))
        return;
      // The file dialog is the desktop's; the file is chosen in it as the other tests do.
      files->selectFile(path);
      QMetaObject::invokeMethod(files, "accept");
      typed = true;
    });
    Press(Get<QPushButton>("addButton"), Qt::Key_Return);
    ASSERT_TRUE(typed);
    // The file becomes a row once it is measured, away from the window's thread.
    WaitForAdding();
    // The offscreen platform has no window manager to give the window back
    // its activation when the file dialog closes; mnemonics need it.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
  }
  void Tab(QWidget* expected, bool back = false) {
    Press(Focus(*dialog), back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    ASSERT_EQ(Focus(*dialog), expected) << (Focus(*dialog) ? Focus(*dialog)->metaObject()->className() : "none");
  }
  QTreeWidget* Panel() { return Get<COptionTree>("optionsPanel")->GetList(); }
};

TEST_F(KeyboardTest, ABatchFromAddToQuitWithKeysOnly) {
  for (const char* name : {"a.mp4", "b.mp4"}) AddWithKeys(Copy("short_0.6s.mp4", name));
  AddWithKeys(Copy("long_320x240.mp4", "c.mp4"));
  ASSERT_EQ(Rows(), 3);

  // Tab visits each control once, in the template's order; the list is one stop.
  CFileDropListCtrl* list = List();
  for (const char* stop : {"deleteButton", "clearButton", "fileList"}) Tab(Get<QWidget>(stop));
  Press(list, Qt::Key_Up);
  ASSERT_EQ(list->currentIndex().row(), 1);
  Press(list, Qt::Key_Space);
  EXPECT_EQ(Ticked(1), 0);
  Press(list, Qt::Key_Space);
  EXPECT_EQ(Ticked(1), 1);
  Press(list, Qt::Key_Space);
  EXPECT_EQ(Ticked(1), 0);
  Press(list, Qt::Key_Up);
  ASSERT_EQ(list->currentIndex().row(), 0);
  for (const char* stop : {"destinationField", "browseButton", "openButton", "playerSelector", "convertButton",
                           "quitButton", "playButton", "stopButton"})
    Tab(Get<QWidget>(stop));
  Tab(Panel());
  Tab(Get<QWidget>("addButton"));
  Tab(Panel(), true);

  // Down to the output name, typed over, Enter: the row takes it and focus stays.
  auto* outputName = &OutputNameEditOf(*dialog);
  for (int row = 0; row < 12 && outputName->IsEditorClosed(); ++row) Press(Focus(*dialog), Qt::Key_Down);
  ASSERT_EQ(Focus(*dialog), outputName);
  Press(outputName, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(outputName, "renamed.kdx");
  Press(outputName, Qt::Key_Return);
  EXPECT_EQ(QueueOf(*dialog).Record(0)->strOutputName, "renamed.kdx");
  EXPECT_EQ(Focus(*dialog), Panel());
  // A second Enter opens the editor again; it deletes nothing.
  Press(Panel(), Qt::Key_Return);
  EXPECT_EQ(Rows(), 3);
  EXPECT_EQ(Focus(*dialog), outputName);
  Press(outputName, Qt::Key_Escape);

  // Convert by its mnemonic; during the long file, closing is refused with
  // a notice, and the mnemonic cancels.
  bool refused = false;
  OnceWhen cancel([&] { return ShowsProgress(2); },
                  [&] {
                    dialog->close();
                    refused = dialog->isVisible() && StatusLine() == CHalvardVideoConverterDlg::kCloseRefusedText;
                    Press(dialog.get(), Qt::Key_C, Qt::AltModifier);
                  });
  Press(dialog.get(), Qt::Key_C, Qt::AltModifier);
  ASSERT_TRUE(QTest::qWaitFor([&] { return StatusLine() == "Conversion finished."; }, 60000))
      << StatusLine();
  EXPECT_TRUE(refused);
  EXPECT_EQ(Status(0), "Complete.");
  ExpectValidKdx(destination + "/" + dialog->SelectedModel()->ModelName + "/renamed.kdx");
  EXPECT_EQ(Status(1), "");
  EXPECT_FALSE(fs::exists(Output("c")));

  // Nothing is ticked now: Convert says so and starts nothing.
  ASSERT_TRUE(Ticked(0) == 0 && Ticked(1) == 0 && Ticked(2) == 0);
  Press(dialog.get(), Qt::Key_C, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return StatusLine() == CHalvardVideoConverterDlg::kNothingTickedText; }, 2000));

  Press(dialog.get(), Qt::Key_Q, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000));
  EXPECT_EQ(LoadWindowSize(configDir + "/NKDXVC.ini").width, dialog->width());
}

}  // namespace
