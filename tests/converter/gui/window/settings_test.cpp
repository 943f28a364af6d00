// SPDX-License-Identifier: GPL-2.0-or-later
// The per-file settings in the options panel, the player selector and what
// the window keeps between runs.
#include <sys/stat.h>
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <fstream>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/widgets/FilenameEdit.h"
#include "tests/converter/gui/preview/box_watcher.h"
#include "converter/gui/widgets/OptionTree.h"
#include "tests/converter/gui/window/dialog_fixture.h"
#include "tests/converter/gui/window/window_lookup.h"

namespace {

COptionTreeItemEdit* OutputName(CHalvardVideoConverterDlg& dialog) {
  return &OutputNameEditOf(dialog);
}

// Types a new output name as a user does: open the editor, type, press Enter.
void TypeOutputName(CHalvardVideoConverterDlg& dialog, const QString& name) {
  COptionTreeItemEdit* edit = OutputName(dialog);
  PanelOf(dialog).OpenEditor(edit);
  edit->selectAll();
  QTest::keyClicks(edit, name);
  QTest::keyClick(edit, Qt::Key_Return);
}

TEST_F(DialogTest, OutputNameNeedsMoreThanFourCharactersAndTimesStayInTheFile) {
  Queue({QString::fromStdString(Clip("long_320x240.mp4"))});
  INPUT_VIDEO_ITEM* item = QueueOf(*dialog).Record(0);
  ASSERT_NE(item, nullptr);
  TypeOutputName(*dialog, "a.kd");
  EXPECT_EQ(item->strOutputName, "long_320x240.kdx");
  TypeOutputName(*dialog, "ab.kdx");
  EXPECT_EQ(item->strOutputName, "ab.kdx");
  // Enter ended the edit and pressed nothing else.
  EXPECT_EQ(Rows(), 1);
  EXPECT_TRUE(OutputName(*dialog)->IsEditorClosed());

  auto* end = PanelEditorOf<COptionTreeItemDate>(*dialog, "End");
  auto* start = PanelEditorOf<COptionTreeItemDate>(*dialog, "Start");
  const QTime duration(item->tmDuration.nHour, item->tmDuration.nMinute, item->tmDuration.nSecond);
  EXPECT_EQ(end->maximumTime(), duration);
  PanelOf(*dialog).OpenEditor(end);
  end->setTime(duration.addSecs(30));  // beyond the file: held at its end
  PanelOf(*dialog).Commit(end);
  EXPECT_EQ(item->tmEnd.nMinute * 60 + item->tmEnd.nSecond, duration.minute() * 60 + duration.second());
  PanelOf(*dialog).OpenEditor(end);
  end->setTime(QTime(0, 0, 5));
  PanelOf(*dialog).Commit(end);
  // A start after the end is held a second before it.
  PanelOf(*dialog).OpenEditor(start);
  start->setTime(QTime(0, 0, 8));
  // A click on the window finishes the open edit.
  QTest::mouseClick(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(dialog->width() / 2, dialog->height() - 3));
  EXPECT_EQ(item->tmStart.nSecond, 4);
  EXPECT_EQ(item->tmEnd.nSecond, 5);
  EXPECT_EQ(end->minimumTime(), QTime(0, 0, 5));
}

struct FieldEdit {
  std::string typed;
  std::string kept;     // the row's output name, or the destination folder, afterwards
  std::string refusal;  // part of the message box's text, empty for none
};

TEST_F(DialogTest, OutputNamesAndDestinationsStayWhereTheyBelong) {
  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4")), QString::fromStdString(Clip("clip_mpeg4_mp3.avi"))});
  const std::string taken = "another file of the list is already converted to that name";
  const FieldEdit names[] = {
      {"holiday", "holiday.kdx", ""},        {"Party.KDX", "Party.KDX", ""},
      {"../escape.kdx", "Party.KDX", "may not contain / or \\"},  {"sub/inner.kdx", "Party.KDX", "may not contain"},
      {"clip_h264_aac.kdx", "Party.KDX", taken}, {"CLIP_H264_AAC", "Party.KDX", taken},
  };
  const FieldEdit folders[] = {
      {"~/kdxout", home + "/kdxout", ""}, {"~", home, ""},
      {"relative/kdx", home, "is not a full path"}, {"~other/kdx", home, "is not a full path"},
      {"/srv/kdx videos", "/srv/kdx videos", ""}, {"", "", ""},  // the default folder, chosen when converting
  };
  for (const auto& [edits, isName] : {std::pair{std::vector(std::begin(names), std::end(names)), true},
                                      std::pair{std::vector(std::begin(folders), std::end(folders)), false}}) {
    for (const FieldEdit& edit : edits) {
      SCOPED_TRACE(edit.typed);
      BoxWatcher watcher;
      if (isName) {
        TypeOutputName(*dialog, QString::fromStdString(edit.typed));
        EXPECT_EQ(QueueOf(*dialog).Record(1)->strOutputName, edit.kept);
      } else {
        // A message box took the window's activation; focus moves only in an active window.
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        Find<CFilenameEdit>(*dialog, "destinationField")->setFocus();
        Find<CFilenameEdit>(*dialog, "destinationField")->selectAll();
        QTest::keyClick(Find<CFilenameEdit>(*dialog, "destinationField"), Qt::Key_Delete);
        QTest::keyClicks(Find<CFilenameEdit>(*dialog, "destinationField"), QString::fromStdString(edit.typed));
        Find<QPushButton>(*dialog, "addButton")->setFocus();  // leaving the field ends the edit
        EXPECT_EQ(Find<CFilenameEdit>(*dialog, "destinationField")->GetFilename().toStdString(), edit.kept);
        EXPECT_EQ(dialog->DestinationFolder(), edit.kept);
      }
      ASSERT_EQ(watcher.texts().size(), edit.refusal.empty() ? 0 : 1) << watcher.texts().join('|').toStdString();
      if (!edit.refusal.empty()) {
        EXPECT_TRUE(watcher.texts()[0].contains(QString::fromStdString(edit.refusal)));
      }
    }
  }
}

TEST_F(DialogTest, AnotherPlayerModelLeavesTheRowsTheirOwnSettings) {
  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4")), QString::fromStdString(Clip("clip_mpeg4_mp3.avi"))});
  ASSERT_EQ(Rows(), 2);
  auto* quality = PanelEditorOf<COptionTreeItemComboBox>(*dialog, "Quality");
  PanelOf(*dialog).OpenEditor(quality);
  quality->setCurrentIndex(1);
  PanelOf(*dialog).Commit(quality);
  EXPECT_EQ(QueueOf(*dialog).Record(1)->strQuality, "Medium(128MB/Hour)");
  const std::string firstMode = QueueOf(*dialog).Record(0)->strVideoMode;

  // NK-176T turns its pictures: full screen by default.
  ChoosePlayer(1);
  EXPECT_EQ(PanelItemOf(*dialog, "Player Name")->GetDisplayText(), "NK-176T");
  EXPECT_EQ(PanelItemOf(*dialog, "Video Mode")->GetDisplayText(), "Full Screen");
  EXPECT_EQ(quality->currentText(), "High  (200MB/Hour)");
  EXPECT_EQ(QueueOf(*dialog).Record(1)->strQuality, "Medium(128MB/Hour)");
  EXPECT_EQ(QueueOf(*dialog).Record(0)->strVideoMode, firstMode);
  EXPECT_EQ(firstMode, "Full Image");
  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  EXPECT_EQ(QueueOf(*dialog).Record(2)->strVideoMode, "Full Screen");
}

TEST_F(DialogTest, FirstStartUsesTheVideosFolderAndQuitStoresWhatWasShown) {
  EXPECT_EQ(Find<CFilenameEdit>(*dialog, "destinationField")->GetFilename().toStdString(), home + "/Videos");
  EXPECT_TRUE(QDir(QString::fromStdString(home + "/Videos")).exists());
  EXPECT_EQ(Find<QComboBox>(*dialog, "playerSelector")->currentIndex(), 0);

  // Our leftovers go; folders and files of other names stay.
  std::ofstream(tempDir + "/PXR1234.tmp") << "x";
  std::ofstream(tempDir + "/PXRa") << "x";
  std::ofstream(tempDir + "/other.tmp") << "x";
  mkdir((tempDir + "/PXRfolder").c_str(), 0755);
  // A link named like ours is never followed to the file it points at.
  std::ofstream(scratch.File("precious.txt")) << "x";
  ASSERT_EQ(symlink(scratch.File("precious.txt").c_str(), (tempDir + "/PXRlink").c_str()), 0);

  Queue({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  const std::string target = scratch.File("converted videos");
  Find<CFilenameEdit>(*dialog, "destinationField")->setFocus();
  Find<CFilenameEdit>(*dialog, "destinationField")->selectAll();
  QTest::keyClicks(Find<CFilenameEdit>(*dialog, "destinationField"), QString::fromStdString(target));
  ChoosePlayer(2);
  QTest::mouseClick(Find<QPushButton>(*dialog, "quitButton"), Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(Rows(), 0);
  const std::string settings = SettingsText();
  EXPECT_NE(settings.find("[CONVERTOR]"), std::string::npos);
  EXPECT_NE(settings.find("DestPath=" + target), std::string::npos) << settings;
  EXPECT_NE(settings.find("ComboDevice=2"), std::string::npos) << settings;
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(tempDir + "/PXR1234.tmp")));
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(tempDir + "/PXRa")));
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(tempDir + "/other.tmp")));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(tempDir + "/PXRfolder")).isDir());
  EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(scratch.File("precious.txt"))));

  OpenDialog();
  EXPECT_EQ(Find<CFilenameEdit>(*dialog, "destinationField")->GetFilename().toStdString(), target);
  EXPECT_EQ(Find<QComboBox>(*dialog, "playerSelector")->currentIndex(), 2);
}

TEST_F(DialogTest, StoredModelOutsideTheTableSelectsTheFirst) {
  WriteSettings("[CONVERTOR]\nDestPath=/srv/videos\nComboDevice=7\n");
  OpenDialog();
  EXPECT_EQ(Find<QComboBox>(*dialog, "playerSelector")->currentIndex(), 0);
  EXPECT_EQ(PanelItemOf(*dialog, "Player Name")->GetDisplayText(), Find<QComboBox>(*dialog, "playerSelector")->itemText(0));
  EXPECT_EQ(Find<CFilenameEdit>(*dialog, "destinationField")->GetFilename(), "/srv/videos");
}

}  // namespace
