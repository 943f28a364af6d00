// Adding, removing and previewing rows of the main window's queue.
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QTimer>
#include <QMediaPlayer>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <fstream>

#include "FileDropListCtrl.h"
#include "OptionTree.h"
#include "box_watcher.h"
#include "dialog_fixture.h"
#include "thumbnail_area.h"

namespace {

bool RowButtonsEnabled(CHalvardVideoConverterDlg& dialog) {
  return dialog.playButton()->isEnabled() && dialog.stopButton()->isEnabled() &&
         dialog.deleteButton()->isEnabled() && dialog.clearButton()->isEnabled() &&
         dialog.convertButton()->isEnabled();
}

bool RowButtonsDisabled(CHalvardVideoConverterDlg& dialog) {
  return !dialog.playButton()->isEnabled() && !dialog.stopButton()->isEnabled() &&
         !dialog.deleteButton()->isEnabled() && !dialog.clearButton()->isEnabled() &&
         !dialog.convertButton()->isEnabled();
}

TEST_F(DialogTest, AddedFilesGetTheirOwnRowsRecordsAndSettings) {
  EXPECT_TRUE(RowButtonsDisabled(*dialog));
  const QString clip = QString::fromStdString(Clip("clip_h264_aac.mp4"));
  ASSERT_TRUE(dialog->AddInputFile(clip));
  dialog->FinishAdding();
  EXPECT_EQ(dialog->statusLine()->text(), "Total 1 files added.");
  EXPECT_TRUE(RowButtonsEnabled(*dialog));
  ASSERT_TRUE(dialog->AddInputFile(clip));
  dialog->FinishAdding();
  EXPECT_EQ(dialog->statusLine()->text(), "Total 2 files added.");

  CFileDropListCtrl& list = *dialog->fileList();
  ASSERT_EQ(Rows(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(list.GetItemText(row, 0), clip);
    EXPECT_EQ(list.GetItemText(row, 1), "MP4");
    EXPECT_TRUE(list.GetItemText(row, 2).endsWith("M"));
    EXPECT_EQ(list.GetItemToolTipText(row, 0), clip);
    EXPECT_EQ(list.GetCheckbox(row, 0), 1);
  }
  INPUT_VIDEO_ITEM* first = dialog->RowRecord(0);
  INPUT_VIDEO_ITEM* second = dialog->RowRecord(1);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->strOutputName, "clip_h264_aac.kdx");
  EXPECT_GT(first->rtDuration, 0);
  EXPECT_EQ(first->tmEnd.nSecond, first->tmDuration.nSecond);
  // The newest row is selected and shown in the panel.
  EXPECT_EQ(list.currentIndex().row(), 1);
  EXPECT_EQ(dialog->EditedRow(), 1);
  EXPECT_EQ(dialog->PanelItem("Duration")->GetDisplayText(),
            QString::asprintf("%02d:%02d:%02d", first->tmDuration.nHour, first->tmDuration.nMinute,
                              first->tmDuration.nSecond));
}

TEST_F(DialogTest, InsertKeyOpensTheAddDialogWithTheVideoFilter) {
  const QString clip = QString::fromStdString(Clip("clip_mpeg4_mp3.avi"));
  QStringList filters;
  for (bool choose : {false, true}) {
    QTimer::singleShot(0, [&] {
      QFileDialog* files = nullptr;
      QTest::qWaitFor([&] { return (files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())); }, 5000);
      if (!files) return;
      filters = files->nameFilters();
      if (!choose) return files->reject();
      files->selectFile(clip);
      QMetaObject::invokeMethod(files, "accept");
    });
    dialog->fileList()->setFocus();
    QTest::keyClick(dialog->fileList(), Qt::Key_Insert);
    EXPECT_EQ(Rows(), choose ? 1 : 0);
    EXPECT_EQ(dialog->statusLine()->text(), QString("Total %1 files added.").arg(choose ? 1 : 0));
  }
  EXPECT_EQ(filters.size(), 2);
  EXPECT_TRUE(filters.value(0).startsWith("All Video File (*.avi *.mpeg *.mpg *.dat *.divx *.vob")) << filters.value(0).toStdString();
  EXPECT_EQ(dialog->fileList()->GetItemText(0, 0), clip);
}

TEST_F(DialogTest, DropsTakeVideoFilesOnlyAndCountTheWholeList) {
  std::ofstream(scratch.File("notes.txt")) << "text";
  DropFiles({QString::fromStdString(Clip("clip_mpeg4_mp3.avi")), QString::fromStdString(scratch.File("notes.txt"))});
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(dialog->fileList()->GetItemText(0, 1), "AVI");
  EXPECT_EQ(dialog->statusLine()->text(), "Total 1 files added.");
  DropFiles({QString::fromStdString(Clip("clip_mpeg2_mp2.mpg")), QString::fromStdString(Clip("clip_mpeg2_mp2.mpg"))});
  EXPECT_EQ(Rows(), 3);
  EXPECT_EQ(dialog->statusLine()->text(), "Total 3 files added.");
  // Files named on the command line pass the same filter.
  dialog->QueueFiles({QString::fromStdString(scratch.File("notes.txt")), QString::fromStdString(Clip("clip_wmv2_wma2.wmv"))});
  EXPECT_EQ(Rows(), 4);
}

TEST_F(DialogTest, DeleteKeyAndClearEmptyTheListAndLockTheButtons) {
  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4")), QString::fromStdString(Clip("clip_mpeg4_mp3.avi"))});
  ASSERT_EQ(Rows(), 2);
  dialog->fileList()->setFocus();
  QTest::keyClick(dialog->fileList(), Qt::Key_Delete);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(dialog->fileList()->GetItemText(0, 1), "MP4");
  EXPECT_EQ(dialog->statusLine()->text(), "Total 1 files.");
  EXPECT_EQ(dialog->PanelItem("Destination ")->GetDisplayText(), "");
  // The panel no longer edits a row that moved into the deleted one's place.
  EXPECT_EQ(dialog->EditedRow(), -1);
  EXPECT_TRUE(RowButtonsEnabled(*dialog));

  QTest::mouseClick(dialog->clearButton(), Qt::LeftButton);
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(dialog->statusLine()->text(), "");
  EXPECT_TRUE(RowButtonsDisabled(*dialog));
  EXPECT_FALSE(static_cast<COptionTreeItemEdit*>(dialog->PanelItem("Destination "))->isEnabled());
}

TEST_F(DialogTest, ContextMenuLeavesTheHeaderOutAndGreysRowItems) {
  const QRect list = dialog->fileList()->geometry();
  EXPECT_TRUE(RightClickList(list.topLeft() + QPoint(20, 5)).isEmpty());
  EXPECT_EQ(RightClickList(list.topLeft() + QPoint(20, 40)),
            QStringList({"&Add+", "&Delete-", "&Play-", "&Stop-"}));
  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  EXPECT_EQ(RightClickList(list.topLeft() + QPoint(20, 40)),
            QStringList({"&Add+", "&Delete+", "&Play+", "&Stop+"}));
  EXPECT_TRUE(RightClickList(list.topLeft() + QPoint(20, list.height() + 5)).isEmpty());
}

TEST_F(DialogTest, BatchLockKeepsDroppedFilesFromUnlockingButtons) {
  dialog->EnableBatchLockedControls(false);
  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  EXPECT_EQ(Rows(), 1);
  EXPECT_FALSE(dialog->deleteButton()->isEnabled());
  EXPECT_FALSE(dialog->addButton()->isEnabled());
  EXPECT_TRUE(RightClickList(dialog->fileList()->geometry().topLeft() + QPoint(20, 40)).isEmpty());
  dialog->EnableBatchLockedControls(true);
  EXPECT_TRUE(dialog->deleteButton()->isEnabled());
  QTest::mouseClick(dialog->clearButton(), Qt::LeftButton);
  dialog->EnableBatchLockedControls(false);
  dialog->EnableBatchLockedControls(true);
  EXPECT_FALSE(dialog->deleteButton()->isEnabled());
  EXPECT_TRUE(dialog->addButton()->isEnabled());
}

TEST_F(DialogTest, PreviewPlaysAndStopsAndMissingFilesDisableTheirRow) {
  BoxWatcher watcher;
  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  QTest::mouseClick(dialog->playButton(), Qt::LeftButton);
  ASSERT_NE(dialog->videoFile().player(), nullptr);
  EXPECT_TRUE(dialog->previewArea()->isVisible());
  EXPECT_FALSE(dialog->thumbnailArea()->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->videoFile().player()->position() > 300; }, 10000));
  QTest::mouseClick(dialog->stopButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->videoFile().player()->playbackState(), QMediaPlayer::PausedState);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->videoFile().player()->position() == 0; }, 5000));

  // A copy that disappears after it was queued.
  const std::string copy = scratch.File("gone.mp4");
  std::ofstream(copy, std::ios::binary) << kdxtest::ReadFile(Clip("clip_h264_aac.mp4"));
  dialog->QueueFiles({QString::fromStdString(copy)});
  ASSERT_EQ(Rows(), 2);
  std::remove(copy.c_str());
  QTest::mouseClick(dialog->playButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->fileList()->GetItemText(1, 3), "File does not exist");
  EXPECT_FALSE(dialog->fileList()->GetEnabled(1));
  EXPECT_EQ(dialog->fileList()->GetCheckbox(1, 0), 1);
  EXPECT_TRUE(watcher.texts().isEmpty()) << watcher.texts().join('|').toStdString();
}

TEST_F(DialogTest, UnplayableFileIsMarkedFailedAndUnticked) {
  std::ofstream(scratch.File("notes.avi")) << "not a video at all\n";
  BoxWatcher watcher;
  dialog->QueueFiles({QString::fromStdString(scratch.File("notes.avi"))});
  ASSERT_EQ(Rows(), 1);
  QTest::mouseClick(dialog->playButton(), Qt::LeftButton);
  EXPECT_EQ(dialog->fileList()->GetItemText(0, 3), "Failed.");
  EXPECT_EQ(dialog->fileList()->GetItemToolTipText(0, 3),
            "Failed. Not support video format.Please install the relative codec.");
  EXPECT_EQ(dialog->fileList()->GetCheckbox(0, 0), 0);
  EXPECT_EQ(watcher.texts(), QStringList({"Could not render selected file"}));
}

}  // namespace
