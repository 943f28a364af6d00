// SPDX-License-Identifier: GPL-2.0-or-later
// The open dialog returns every selected file, however many.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFile>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

#include "converter/gui/widgets/TesselMultiFilesDialog.h"

namespace {

TEST(TesselMultiFilesDialogTest, FiveHundredSelectedFilesComeBackAsFolderAndName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QStringList expected;
  const QString longPart(150, QChar('v'));
  for (int i = 0; i < 500; ++i) {
    const QString name = QString("holiday_%1_%2.avi").arg(i, 3, 10, QChar('0')).arg(longPart);
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    expected << dir.filePath(name);
  }

  CTesselMultiFilesDialog dialog(nullptr, "Add videos", dir.path(), "Video files (*.avi *.mpg *.mp4)");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.open();
  auto* view = dialog.findChild<QListView*>("listView");
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) == 500; }, 10000));

  view->setFocus();
  QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
  auto* buttons = dialog.findChild<QDialogButtonBox*>("buttonBox");
  ASSERT_NE(buttons, nullptr);
  QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
  ASSERT_EQ(dialog.result(), QDialog::Accepted);

  QStringList paths = dialog.GetPathNames();
  paths.sort();
  EXPECT_EQ(paths, expected);
}

}  // namespace
