// SPDX-License-Identifier: GPL-2.0-or-later
// Adding, removing and previewing rows of the main window's queue.
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QTimer>
#include <QMediaPlayer>
#include <QMimeDatabase>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/widgets/OptionTree.h"
#include "tests/converter/gui/preview/box_watcher.h"
#include "tests/converter/gui/window/conversion_fixture.h"
#include "tests/converter/gui/window/window_lookup.h"
#include "converter/core/support/path_utils.h"
#include "converter/gui/widgets/thumbnail_area.h"

namespace {

bool RowButtonsEnabled(CHalvardVideoConverterDlg& dialog) {
  return Find<QPushButton>(dialog, "playButton")->isEnabled() && Find<QPushButton>(dialog, "stopButton")->isEnabled() &&
         Find<QPushButton>(dialog, "deleteButton")->isEnabled() && Find<QPushButton>(dialog, "clearButton")->isEnabled() &&
         Find<QPushButton>(dialog, "convertButton")->isEnabled();
}

bool RowButtonsDisabled(CHalvardVideoConverterDlg& dialog) {
  return !Find<QPushButton>(dialog, "playButton")->isEnabled() && !Find<QPushButton>(dialog, "stopButton")->isEnabled() &&
         !Find<QPushButton>(dialog, "deleteButton")->isEnabled() && !Find<QPushButton>(dialog, "clearButton")->isEnabled() &&
         !Find<QPushButton>(dialog, "convertButton")->isEnabled();
}

TEST_F(DialogTest, AddedFilesGetTheirOwnRowsRecordsAndSettings) {
  EXPECT_TRUE(RowButtonsDisabled(*dialog));
  const QString clip = QString::fromStdString(Clip("clip_h264_aac.mp4"));
  Queue(QStringList{clip});
  EXPECT_EQ(Find<QLabel>(*dialog, "statusLine")->text(), "Total 1 files added.");
  EXPECT_TRUE(RowButtonsEnabled(*dialog));
  Queue(QStringList{clip});
  EXPECT_EQ(Find<QLabel>(*dialog, "statusLine")->text(), "Total 2 files added.");

  CFileDropListCtrl& list = *Find<CFileDropListCtrl>(*dialog, "fileList");
  ASSERT_EQ(Rows(), 2);
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(list.GetItemText(row, 0), clip);
    EXPECT_EQ(list.GetItemText(row, 1), "MP4");
    EXPECT_TRUE(list.GetItemText(row, 2).endsWith("M"));
    EXPECT_EQ(list.GetItemToolTipText(row, 0), clip);
    EXPECT_EQ(list.GetCheckbox(row, 0), 1);
  }
  INPUT_VIDEO_ITEM* first = QueueOf(*dialog).Record(0);
  INPUT_VIDEO_ITEM* second = QueueOf(*dialog).Record(1);
  ASSERT_TRUE(first && second);
  EXPECT_NE(first, second);
  EXPECT_EQ(first->strOutputName, "clip_h264_aac.kdx");
  EXPECT_EQ(second->strOutputName, "clip_h264_aac (2).kdx");
  EXPECT_GT(first->rtDuration, 0);
  EXPECT_EQ(first->tmEnd.nSecond, first->tmDuration.nSecond);
  // The newest row is selected and shown in the panel.
  EXPECT_EQ(list.currentIndex().row(), 1);
  EXPECT_EQ(OutputNameEditOf(*dialog).text().toStdString(), second->strOutputName);
  EXPECT_EQ(PanelItemOf(*dialog, "Duration")->GetDisplayText(),
            QString::asprintf("%02d:%02d:%02d", first->tmDuration.nHour, first->tmDuration.nMinute,
                              first->tmDuration.nSecond));
}

TEST_F(DialogTest, InsertKeyOpensTheAddDialogWithTheVideoFilter) {
  const QString clip = QString::fromStdString(Clip("clip_mpeg4_mp3.avi"));
  QStringList filters;
  for (bool choose : {false, true}) {
    QTimer::singleShot(0, [&] {
      QFileDialog* files = nullptr;
      if (!QTest::qWaitFor([&] { return (files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())); },
                           5000))
        return;
      filters = files->nameFilters();
      if (!choose) return files->reject();
      files->selectFile(clip);
      QMetaObject::invokeMethod(files, "accept");
    });
    Find<CFileDropListCtrl>(*dialog, "fileList")->setFocus();
    QTest::keyClick(Find<CFileDropListCtrl>(*dialog, "fileList"), Qt::Key_Insert);
    WaitForAdding();
    EXPECT_EQ(Rows(), choose ? 1 : 0);
    EXPECT_EQ(Find<QLabel>(*dialog, "statusLine")->text(), QString("Total %1 files added.").arg(choose ? 1 : 0));
  }
  EXPECT_EQ(filters.size(), 2);
  EXPECT_TRUE(filters.value(0).startsWith("All Video File (*.avi *.mpeg *.mpg *.dat *.divx *.vob")) << filters.value(0).toStdString();
  EXPECT_EQ(Find<CFileDropListCtrl>(*dialog, "fileList")->GetItemText(0, 0), clip);

  // "Open with" offers the program for the kinds of file the filter shows (.dat has no MIME type).
  const std::string entry = kdxtest::ReadFile(KDX_DESKTOP_ENTRY);
  const QString offered = QString::fromStdString(entry.substr(entry.find("MimeType=")));
  const QString patterns = filters.value(0).section('(', 1).section(')', 0, 0);
  EXPECT_TRUE(patterns.contains("*.mkv *.webm *.ts *.m2ts *.mts *.3gp *.3g2 *.flv *.ogv *.mxf")) << patterns.toStdString();
  for (const QString& pattern : patterns.split(' ')) {
    bool listed = pattern == "*.dat";
    for (const QMimeType& type : QMimeDatabase().mimeTypesForFileName("x" + pattern.mid(1))) {
      const QStringList names = type.aliases() << type.name();
      for (const QString& name : names) listed |= offered.contains(name + ';');
    }
    EXPECT_TRUE(listed) << pattern.toStdString();
  }
}

enum class Way { kCommandLine, kDrop, kAddDialog };

struct AddCase {
  Way way;
  std::vector<std::string> given;  // clips by name, or files of the scratch folder
  std::vector<std::pair<std::string, std::string>> rows;  // source and output name of each row, in order
  std::string statusLine;
};

TEST_F(DialogTest, EveryWayInTakesWhatFfmpegReadsAndNamesWhatItRefuses) {
  ASSERT_EQ(mkfifo(scratch.File("pipe").c_str(), 0644), 0);
  mkdir(scratch.File("folder.avi").c_str(), 0755);
  std::ofstream(scratch.File("notes.txt")) << "text";
  for (const auto& [clip, copy] : {std::pair{"clip_mpeg4_aac.m4v", "Ünïcødé.mp4"}, {"clip_mpeg4_mp3.avi", "clip.avi"},
                                   {"clip_h264_aac.mp4", "clip.mp4"}, {"clip_h264_aac.mkv", "Clip.mkv"}})
    std::filesystem::copy_file(Clip(clip), scratch.File(copy));
  const std::string noVideo = " was not added: FFmpeg cannot read a video from it.";
  const AddCase cases[] = {
      {Way::kCommandLine,
       {"clip_h264_aac.mkv", "clip_vp8_vorbis.webm", "clip_mpeg2_mp2.ts", "clip_flv1_mp3.flv", "clip_mpeg4_aac.m4v",
        "clip_h263_aac.3gp"},
       {{"clip_h264_aac.mkv", "clip_h264_aac.kdx"}, {"clip_vp8_vorbis.webm", "clip_vp8_vorbis.kdx"},
        {"clip_mpeg2_mp2.ts", "clip_mpeg2_mp2.kdx"}, {"clip_flv1_mp3.flv", "clip_flv1_mp3.kdx"},
        {"clip_mpeg4_aac.m4v", "clip_mpeg4_aac.kdx"}, {"clip_h263_aac.3gp", "clip_h263_aac.kdx"}},
       "Total 6 files added."},
      {Way::kDrop, {"pipe", "folder.avi", "notes.txt", "Ünïcødé.mp4"}, {{"Ünïcødé.mp4", "Ünïcødé.kdx"}},
       "Total 1 files added. pipe was not added: it is not a regular file. folder.avi was not added: it is a "
       "folder. notes.txt" + noVideo},
      // A pipe once held the whole window.
      {Way::kAddDialog, {"pipe"}, {}, "Total 0 files added. pipe was not added: it is not a regular file."},
      {Way::kCommandLine, {"clip.avi", "clip.mp4", "Clip.mkv", "missing.mp4"},
       {{"clip.avi", "clip.kdx"}, {"clip.mp4", "clip (2).kdx"}, {"Clip.mkv", "Clip (3).kdx"}},
       "Total 3 files added. missing.mp4 was not added: it does not exist."},
  };
  for (const AddCase& c : cases) {
    SCOPED_TRACE(c.statusLine);
    QTest::mouseClick(Find<QPushButton>(*dialog, "clearButton"), Qt::LeftButton);
    QStringList paths;
    for (const std::string& name : c.given)
      paths << QString::fromStdString(std::filesystem::exists(Clip(name)) ? Clip(name) : scratch.File(name));
    if (c.way == Way::kCommandLine) dialog->QueueFiles(paths);
    if (c.way == Way::kDrop) DropFiles(paths);
    if (c.way == Way::kAddDialog) {
      QTimer::singleShot(0, [&] {
        QFileDialog* files = nullptr;
        if (!QTest::qWaitFor([&] { return (files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())); }))
          return;
        files->selectFile(paths.front());
        QMetaObject::invokeMethod(files, "accept");
      });
      QTest::mouseClick(Find<QPushButton>(*dialog, "addButton"), Qt::LeftButton);
    }
    WaitForAdding();
    EXPECT_EQ(Find<QLabel>(*dialog, "statusLine")->text().toStdString(), c.statusLine);
    ASSERT_EQ(Rows(), static_cast<int>(c.rows.size()));
    for (int row = 0; row < Rows(); ++row) {
      EXPECT_EQ(GetFileName(Find<CFileDropListCtrl>(*dialog, "fileList")->GetItemText(row, 0).toStdString()), c.rows[row].first) << row;
      EXPECT_EQ(QueueOf(*dialog).Record(row)->strOutputName, c.rows[row].second) << row;
      EXPECT_GT(QueueOf(*dialog).Record(row)->rtDuration, kMediaUnitsPerSecond) << row;
    }
    // The newest row is shown in the panel under its own name.
    if (Rows() > 0) {
      EXPECT_EQ(OutputNameEditOf(*dialog).text().toStdString(), c.rows.back().second);
    }
  }
}

TEST_F(DialogTest, DeleteKeyAndClearEmptyTheListAndLockTheButtons) {
  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4")), QString::fromStdString(Clip("clip_mpeg4_mp3.avi"))});
  ASSERT_EQ(Rows(), 2);
  List()->setFocus();
  QTest::keyClick(List(), Qt::Key_Delete);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(QueueOf(*dialog).data(QueueOf(*dialog).index(0, 1), Qt::DisplayRole).toString(), "MP4");
  EXPECT_EQ(Find<QLabel>(*dialog, "statusLine")->text(), "Total 1 files.");
  EXPECT_TRUE(RowButtonsEnabled(*dialog));

  QTest::mouseClick(Find<QPushButton>(*dialog, "clearButton"), Qt::LeftButton);
  EXPECT_EQ(Rows(), 0);
  EXPECT_EQ(Find<QLabel>(*dialog, "statusLine")->text(), "");
  EXPECT_TRUE(RowButtonsDisabled(*dialog));
  EXPECT_FALSE(OutputNameEditOf(*dialog).isEnabled());
  EXPECT_EQ(OutputNameEditOf(*dialog).text(), "");
}

enum class Move { kClick, kArrowUp, kDelete, kBatch };

struct FollowCase {
  Move move;
  int current;          // the highlighted row afterwards
  std::string shown;    // the output name the panel shows
};

TEST_F(ConversionTest, ThePanelShowsAndEditsTheHighlightedRowHoweverItGotThere) {
  const FollowCase cases[] = {
      {Move::kClick, 0, "a0.kdx"},
      {Move::kArrowUp, 1, "b1.kdx"},
      // The row below moves up into the deleted one's place and is shown.
      {Move::kDelete, 1, "c2.kdx"},
      // The batch passes every row; the last stays highlighted.
      {Move::kBatch, 2, "c3.kdx"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const FollowCase& c = cases[i];
    SCOPED_TRACE(c.shown);
    QTest::mouseClick(Find<QPushButton>(*dialog, "clearButton"), Qt::LeftButton);
    for (const char* name : {"a", "b", "c"}) Add("short_0.6s.mp4", name + std::to_string(i) + ".mp4");
    ConversionQueueModel& queue = QueueOf(*dialog);
    CXListCtrl& list = *List();
    ASSERT_EQ(list.currentIndex().row(), 2);
    list.setFocus();
    switch (c.move) {
      case Move::kClick:
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(queue.index(0, 2)).center());
        break;
      case Move::kArrowUp:
        QTest::keyClick(&list, Qt::Key_Up);
        break;
      case Move::kDelete:
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(queue.index(1, 2)).center());
        QTest::keyClick(&list, Qt::Key_Delete);
        break;
      case Move::kBatch:
        // Highlighted first, then left behind by the batch.
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(queue.index(0, 2)).center());
        queue.SetTicked(1, false);
        queue.SetTicked(2, false);
        ClickConvert();
        EXPECT_EQ(Status(0), "Complete.");
        break;
    }
    ASSERT_EQ(list.currentIndex().row(), c.current);
    EXPECT_EQ(OutputNameEditOf(*dialog).text().toStdString(), c.shown);

    // An edit typed into the panel lands on that row and no other.
    std::vector<std::string> names;
    for (int row = 0; row < queue.rowCount(); ++row) names.push_back(queue.Record(row)->strOutputName);
    COptionTreeItemEdit& edit = OutputNameEditOf(*dialog);
    PanelOf(*dialog).OpenEditor(&edit);
    edit.selectAll();
    QTest::keyClicks(&edit, "typed");
    QTest::keyClick(&edit, Qt::Key_Return);
    names[c.current] = "typed.kdx";
    for (int row = 0; row < queue.rowCount(); ++row) EXPECT_EQ(queue.Record(row)->strOutputName, names[row]) << row;
  }
}

TEST_F(DialogTest, ContextMenuLeavesTheHeaderOutAndGreysRowItems) {
  const QRect list = Find<CFileDropListCtrl>(*dialog, "fileList")->geometry();
  EXPECT_TRUE(RightClickList(list.topLeft() + QPoint(20, 5)).isEmpty());
  EXPECT_EQ(RightClickList(list.topLeft() + QPoint(20, 40)),
            QStringList({"&Add+", "&Delete-", "&Play-", "&Stop-"}));
  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  EXPECT_EQ(RightClickList(list.topLeft() + QPoint(20, 40)),
            QStringList({"&Add+", "&Delete+", "&Play+", "&Stop+"}));
  EXPECT_TRUE(RightClickList(list.topLeft() + QPoint(20, list.height() + 5)).isEmpty());
}

TEST_F(DialogTest, BatchLockKeepsDroppedFilesFromUnlockingButtons) {
  dialog->EnableBatchLockedControls(false);
  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  EXPECT_EQ(Rows(), 1);
  EXPECT_FALSE(Find<QPushButton>(*dialog, "deleteButton")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>(*dialog, "addButton")->isEnabled());
  EXPECT_TRUE(RightClickList(Find<CFileDropListCtrl>(*dialog, "fileList")->geometry().topLeft() + QPoint(20, 40)).isEmpty());
  dialog->EnableBatchLockedControls(true);
  EXPECT_TRUE(Find<QPushButton>(*dialog, "deleteButton")->isEnabled());
  QTest::mouseClick(Find<QPushButton>(*dialog, "clearButton"), Qt::LeftButton);
  dialog->EnableBatchLockedControls(false);
  dialog->EnableBatchLockedControls(true);
  EXPECT_FALSE(Find<QPushButton>(*dialog, "deleteButton")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(*dialog, "addButton")->isEnabled());
}

TEST_F(DialogTest, PreviewPlaysAndStopsAndMissingFilesDisableTheirRow) {
  BoxWatcher watcher;
  // A name outside ASCII plays like any other.
  const std::string named = scratch.File("Ünïcødé clip.mp4");
  std::filesystem::copy_file(Clip("clip_h264_aac.mp4"), named);
  Queue(named);
  QTest::mouseClick(Find<QPushButton>(*dialog, "playButton"), Qt::LeftButton);
  ASSERT_NE(dialog->videoFile().player(), nullptr);
  EXPECT_TRUE(Find<QWidget>(*dialog, "previewArea")->isVisible());
  EXPECT_FALSE(Find<ThumbnailArea>(*dialog, "thumbnailArea")->isVisible());
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->videoFile().player()->position() > 300; }, 10000));
  QTest::mouseClick(Find<QPushButton>(*dialog, "stopButton"), Qt::LeftButton);
  EXPECT_EQ(dialog->videoFile().player()->playbackState(), QMediaPlayer::PausedState);
  EXPECT_TRUE(QTest::qWaitFor([&] { return dialog->videoFile().player()->position() == 0; }, 5000));

  // A copy that disappears after it was queued.
  const std::string copy = scratch.File("gone.mp4");
  std::ofstream(copy, std::ios::binary) << kdxtest::ReadFile(Clip("clip_h264_aac.mp4"));
  Queue({QString::fromStdString(copy)});
  ASSERT_EQ(Rows(), 2);
  std::remove(copy.c_str());
  QTest::mouseClick(Find<QPushButton>(*dialog, "playButton"), Qt::LeftButton);
  EXPECT_EQ(Find<CFileDropListCtrl>(*dialog, "fileList")->GetItemText(1, 3), "File does not exist");
  EXPECT_FALSE(Find<CFileDropListCtrl>(*dialog, "fileList")->GetEnabled(1));
  EXPECT_EQ(Find<CFileDropListCtrl>(*dialog, "fileList")->GetCheckbox(1, 0), 1);
  EXPECT_TRUE(watcher.texts().isEmpty()) << watcher.texts().join('|').toStdString();
}

TEST_F(DialogTest, PreviewFailureLeavesTheRowsStatusAndTick) {
  const std::string copy = scratch.File("replaced.mp4");
  std::filesystem::copy_file(Clip("clip_h264_aac.mp4"), copy);
  Queue(copy);
  std::ofstream(copy, std::ios::trunc) << "no longer a video\n";
  Find<CFileDropListCtrl>(*dialog, "fileList")->SetItemText(0, 3, "Complete.");
  BoxWatcher watcher;
  QTest::mouseClick(Find<QPushButton>(*dialog, "playButton"), Qt::LeftButton);
  EXPECT_EQ(watcher.texts(), QStringList({"Could not render selected file"}));
  EXPECT_EQ(Find<CFileDropListCtrl>(*dialog, "fileList")->GetItemText(0, 3), "Complete.");
  EXPECT_EQ(Find<CFileDropListCtrl>(*dialog, "fileList")->GetCheckbox(0, 0), 1);
}

}  // namespace
