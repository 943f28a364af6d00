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

#include "FileDropListCtrl.h"
#include "FilenameEdit.h"
#include "OptionTree.h"
#include "dialog_fixture.h"

namespace {

COptionTreeItemEdit* OutputName(CHalvardVideoConverterDlg& dialog) {
  return static_cast<COptionTreeItemEdit*>(dialog.PanelItem("Destination "));
}

// Types a new output name as a user does: open the editor, type, press Enter.
void TypeOutputName(CHalvardVideoConverterDlg& dialog, const QString& name) {
  COptionTreeItemEdit* edit = OutputName(dialog);
  dialog.optionsPanel()->OpenEditor(edit);
  edit->selectAll();
  QTest::keyClicks(edit, name);
  QTest::keyClick(edit, Qt::Key_Return);
}

TEST_F(DialogTest, OutputNameNeedsMoreThanFourCharactersAndTimesStayInTheFile) {
  dialog->QueueFiles({QString::fromStdString(Clip("long_320x240.mp4"))});
  INPUT_VIDEO_ITEM* item = dialog->RowRecord(0);
  ASSERT_NE(item, nullptr);
  TypeOutputName(*dialog, "a.kd");
  EXPECT_EQ(item->strOutputName, "long_320x240.kdx");
  TypeOutputName(*dialog, "ab.kdx");
  EXPECT_EQ(item->strOutputName, "ab.kdx");
  // Enter ended the edit and pressed nothing else.
  EXPECT_EQ(Rows(), 1);
  EXPECT_TRUE(OutputName(*dialog)->IsEditorClosed());

  auto* end = static_cast<COptionTreeItemDate*>(dialog->PanelItem("End"));
  auto* start = static_cast<COptionTreeItemDate*>(dialog->PanelItem("Start"));
  const QTime duration(item->tmDuration.nHour, item->tmDuration.nMinute, item->tmDuration.nSecond);
  EXPECT_EQ(end->maximumTime(), duration);
  dialog->optionsPanel()->OpenEditor(end);
  end->setTime(duration.addSecs(30));  // beyond the file: held at its end
  dialog->optionsPanel()->Commit(end);
  EXPECT_EQ(item->tmEnd.nMinute * 60 + item->tmEnd.nSecond, duration.minute() * 60 + duration.second());
  dialog->optionsPanel()->OpenEditor(end);
  end->setTime(QTime(0, 0, 5));
  dialog->optionsPanel()->Commit(end);
  // A start after the end is taken as given.
  dialog->optionsPanel()->OpenEditor(start);
  start->setTime(QTime(0, 0, 8));
  // A click on the window finishes the open edit.
  QTest::mouseClick(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(dialog->width() / 2, dialog->height() - 3));
  EXPECT_EQ(item->tmStart.nSecond, 8);
  EXPECT_EQ(item->tmEnd.nSecond, 5);
}

TEST_F(DialogTest, AnotherPlayerModelLeavesTheRowsTheirOwnSettings) {
  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4")), QString::fromStdString(Clip("clip_mpeg4_mp3.avi"))});
  ASSERT_EQ(Rows(), 2);
  auto* quality = static_cast<COptionTreeItemComboBox*>(dialog->PanelItem("Quality"));
  dialog->optionsPanel()->OpenEditor(quality);
  quality->setCurrentIndex(1);
  dialog->optionsPanel()->Commit(quality);
  EXPECT_EQ(dialog->RowRecord(1)->strQuality, "Medium(128MB/Hour)");
  const std::string firstMode = dialog->RowRecord(0)->strVideoMode;

  // NK-176T turns its pictures: full screen by default.
  dialog->SelectPlayer(1);
  EXPECT_EQ(dialog->PanelItem("Player Name")->GetDisplayText(), "NK-176T");
  EXPECT_EQ(dialog->PanelItem("Video Mode")->GetDisplayText(), "Full Screen");
  EXPECT_EQ(quality->currentText(), "High  (200MB/Hour)");
  EXPECT_EQ(dialog->RowRecord(1)->strQuality, "Medium(128MB/Hour)");
  EXPECT_EQ(dialog->RowRecord(0)->strVideoMode, firstMode);
  EXPECT_EQ(firstMode, "Full Image");
  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  EXPECT_EQ(dialog->RowRecord(2)->strVideoMode, "Full Screen");
}

TEST_F(DialogTest, FirstStartUsesTheVideosFolderAndQuitStoresWhatWasShown) {
  EXPECT_EQ(dialog->destinationField()->GetFilename().toStdString(), home + "/Videos");
  EXPECT_TRUE(QDir(QString::fromStdString(home + "/Videos")).exists());
  EXPECT_EQ(dialog->playerSelector()->currentIndex(), 0);

  // Our leftovers go; folders and files of other names stay.
  std::ofstream(tempDir + "/PXR1234.tmp") << "x";
  std::ofstream(tempDir + "/PXRa") << "x";
  std::ofstream(tempDir + "/other.tmp") << "x";
  mkdir((tempDir + "/PXRfolder").c_str(), 0755);
  // A link named like ours is never followed to the file it points at.
  std::ofstream(scratch.File("precious.txt")) << "x";
  ASSERT_EQ(symlink(scratch.File("precious.txt").c_str(), (tempDir + "/PXRlink").c_str()), 0);

  dialog->QueueFiles({QString::fromStdString(Clip("clip_h264_aac.mp4"))});
  const std::string target = scratch.File("converted videos");
  dialog->destinationField()->setFocus();
  dialog->destinationField()->selectAll();
  QTest::keyClicks(dialog->destinationField(), QString::fromStdString(target));
  dialog->SelectPlayer(2);
  QTest::mouseClick(dialog->quitButton(), Qt::LeftButton);
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
  EXPECT_EQ(dialog->destinationField()->GetFilename().toStdString(), target);
  EXPECT_EQ(dialog->playerSelector()->currentIndex(), 2);
}

TEST_F(DialogTest, StoredModelOutsideTheTableSelectsTheFirst) {
  WriteSettings("[CONVERTOR]\nDestPath=/srv/videos\nComboDevice=7\n");
  OpenDialog();
  EXPECT_EQ(dialog->playerSelector()->currentIndex(), 0);
  EXPECT_EQ(dialog->PanelItem("Player Name")->GetDisplayText(), dialog->playerSelector()->itemText(0));
  EXPECT_EQ(dialog->destinationField()->GetFilename(), "/srv/videos");
}

}  // namespace
