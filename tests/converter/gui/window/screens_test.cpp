// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures of the main window in its key states, saved into build/screens/
// so the program can be looked at without a display.
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <unistd.h>

#include "converter/gui/widgets/DevicePiture.h"
#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/core/support/path_utils.h"
#include "tests/converter/gui/window/conversion_fixture.h"
#include "tests/support/scoped_mount.h"
#include "tests/converter/gui/widgets/palette_checks.h"
#include "converter/gui/widgets/thumbnail_area.h"
#include "tests/converter/gui/window/window_pictures.h"

namespace {

QMessageBox* OpenBox() {
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) return box;
  return nullptr;
}

// The window with the message box now open drawn over its middle; null
// when no box is open.
QImage PictureWithOpenBox(QWidget& window) {
  QMessageBox* box = OpenBox();
  if (box == nullptr) return {};
  QImage picture = Picture(window);
  QPainter painter(&picture);
  const QImage boxPicture = Picture(*box);
  painter.drawImage(QPoint((picture.width() - boxPicture.width()) / 2, (picture.height() - boxPicture.height()) / 2),
                    boxPicture);
  return picture;
}

// The shipped picture of a model, as the build draws it from the device table.
void WritePlayerPicture(const QString& path) {
  QFile::remove(path);
  ASSERT_TRUE(QFile::copy(QStringLiteral(KDX_DATA_DIR "/NK-128.bmp"), path));
}

TEST_F(DialogTest, SavesPicturesOfTheMainWindow) {
  const QString picture = QString::fromStdString(GetModuleFolder()) + "NK-128.bmp";
  WritePlayerPicture(picture);
  OpenDialog();
  QFile::remove(picture);
  EXPECT_TRUE(Get<CDevicePiture>("playerPicture")->HasPicture());
  EXPECT_EQ(Get<CDevicePiture>("playerPicture")->GetBitmapPath(), picture);
  Save(Picture(*dialog), "main_window_empty.png");

  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4")), QString::fromStdString(Clip("clip_mpeg4_mp3.avi")),
                      QString::fromStdString(Clip("long_320x240.mp4"))});
  ASSERT_EQ(Rows(), 3);
  List()->selectRow(1);
  dialog->OnRowClicked(1);
  const QImage queue = Picture(*dialog);
  // The list shows its rows on white, not the empty-list text alone.
  EXPECT_NE(queue.pixel(List()->geometry().center()), queue.pixel(Get<QWidget>("previewArea")->geometry().center()));
  Save(queue, "main_window_queue.png");

  // The about box drawn over the window it belongs to.
  QImage about;
  QTimer::singleShot(100, [&] {
    QMessageBox* box = OpenBox();
    if (box == nullptr) return;
    about = PictureWithOpenBox(*dialog);
    EXPECT_EQ(box->windowTitle(), "About Norvik KDX Video Converter");
    EXPECT_EQ(box->text(), "Norvik KDX Video Converter Version 1.4.2.0");
    box->accept();
  });
  Get<QMenu>("helpMenu")->actions()[1]->trigger();
  ASSERT_FALSE(about.isNull());
  Save(about, "main_window_about.png");
}

TEST_F(ConversionTest, SavesPicturesOfABatch) {
  Add("long_320x240.mp4", "long.mp4");
  Add("video_only.mp4", "silent.mp4");
  Add("short_0.6s.mp4", "short.mp4");
  QImage converting;
  OnceWhen shot(
      [&] {
        return ShowsProgress(0) && List()->GetCellData(0, 3)->nProgressPercent >= 20 &&
               !Get<ThumbnailArea>("thumbnailArea")->picture().isNull();
      },
      [&] { converting = Picture(*dialog); });
  ClickConvert();
  ASSERT_FALSE(converting.isNull());
  Save(converting, "main_window_converting.png");
  ASSERT_EQ(Status(1), "Failed.");
  Save(Picture(*dialog), "main_window_batch_done.png");

  // Converting the first file again asks before its output is replaced.
  List()->SetCheckbox(0, 0, 1);
  dialog->driver().SetOverwriteQuestionTimeout(60000);
  QImage question;
  OnceWhen asked([&] { return OpenBox() != nullptr; },
                 [&] {
                   question = PictureWithOpenBox(*dialog);
                   OpenBox()->button(QMessageBox::Cancel)->click();
                 });
  ClickConvert();
  ASSERT_FALSE(question.isNull());
  Save(question, "main_window_overwrite_question.png");
}

TEST_F(ConversionTest, SavesAPictureOfABatchInADarkPalette) {
  dialog->setPalette(DarkPalette());
  Add("short_0.6s.mp4", "first.mp4");
  Add("long_320x240.mp4", "long.mp4");
  // The running row is the selected one, in a list with the focus.
  CFileDropListCtrl* list = List();
  list->setFocus();
  list->selectRow(1);
  int readable = -1;
  QImage converting;
  OnceWhen shot(
      [&] { return ShowsProgress(1) && list->GetCellData(1, 3)->nProgressPercent >= 20; },
      [&] {
        list->setFocus();
        converting = Picture(*dialog);
        const QRect cell = list->visualRect(list->model()->index(1, 3));
        readable = StandingOutPixels(converting, cell.translated(list->viewport()->mapTo(dialog.get(), QPoint(0, 0))));
      });
  ClickConvert();
  ASSERT_FALSE(converting.isNull());
  EXPECT_TRUE(list->selectionModel()->isRowSelected(1, {}));
  EXPECT_GT(readable, 15) << "the selected row's progress text stands out from its bar";
  Save(converting, "main_window_dark_converting.png");
}

TEST_F(PlayerConversionTest, SavesAPictureWithADetectedPlayer) {
  const QString picture = QString::fromStdString(GetModuleFolder()) + "NK-128.bmp";
  WritePlayerPicture(picture);
  OpenDialog(PlayerSupport{true, false});
  QFile::remove(picture);
  ASSERT_TRUE(Get<QCheckBox>("transferOption")->isChecked());
  Save(Picture(*dialog), "main_window_player.png");
}

// The player refuses the file: read-only through a bind mount as root,
// through the folder's mode otherwise.
TEST_F(PlayerConversionTest, SavesAPictureAfterAFailedTransfer) {
  const bool root = ::geteuid() == 0;
  std::optional<kdxtest::ScopedMount> readOnly;
  if (root) {
    readOnly.emplace(mountPoint, mountPoint, nullptr, MS_BIND, nullptr);
    if (!readOnly->mounted() || !readOnly->MakeReadOnly()) GTEST_SKIP() << "no read-only bind mount here";
  } else {
    fs::permissions(mountPoint, fs::perms::owner_read | fs::perms::owner_exec);
  }
  Add("short_0.6s.mp4", "a.mp4");
  ClickConvert();
  readOnly.reset();
  fs::permissions(mountPoint, fs::perms::owner_all);

  EXPECT_EQ(Status(0), "Converted; not copied to the player.");
  EXPECT_EQ(Tip(0), root ? "The player is read-only (Read-only file system)."
                         : "Copying to the player failed (Permission denied).");
  EXPECT_EQ(StatusLine(), "Conversion finished. 1 file was not copied to the player.");
  EXPECT_TRUE(fs::is_empty(mountPoint));
  ExpectValidKdx(Output("a"));
  // The player is still attached: its model stays chosen, the transfer offered.
  EXPECT_FALSE(Get<QComboBox>("playerSelector")->isEnabled());
  EXPECT_TRUE(Get<QCheckBox>("transferOption")->isChecked());
  Save(Picture(*dialog), "main_window_transfer_failed.png");
}

}  // namespace
