// SPDX-License-Identifier: GPL-2.0-or-later
// The conversion batch as a user runs it: files queued in the main window,
// Convert clicked, questions answered by clicking their buttons, the results
// read from the list, the status line and the files written.
#include <QCheckBox>
#include <QComboBox>
#include <csignal>
#include <fstream>

#include "converter/gui/widgets/XListDelegate.h"
#include "tests/converter/gui/preview/box_watcher.h"
#include "tests/converter/gui/window/conversion_fixture.h"
#include "tests/converter/players/fake_device_manager.h"
#include "kdx.h"
#include "converter/gui/widgets/posted_message_window.h"
#include "converter/gui/app/termination_signals.h"
#include "converter/gui/widgets/thumbnail_area.h"

namespace {

TEST_F(ConversionTest, ConvertsTheTickedRowsAndOneDroppedMeanwhile) {
  Add("clip_h264_aac.mp4", "a.mp4");
  Add("tiny_64x48.mp4", "b.mp4");
  Add("short_0.6s.mp4", "c.mp4");
  CFileDropListCtrl& list = *Find<CFileDropListCtrl>(*dialog, "fileList");
  const QRect cell = list.visualRect(list.model()->index(2, 0));
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, CXListDelegate::CheckBoxRect(cell, true).center());
  ASSERT_EQ(Ticked(2), 0) << "the check box is clicked off";
  const QString dropped = Copy("short_0.6s.mp4", "d.mp4");
  OnceWhen drop([&] { return ShowsProgress(0); }, [&] { DropFiles({dropped}); });
  ClickConvert();

  ASSERT_EQ(Rows(), 4);
  for (int row : {0, 1, 3}) {
    EXPECT_EQ(Status(row), "Complete.") << row;
    EXPECT_EQ(Ticked(row), 0) << row;
    EXPECT_FALSE(Find<CFileDropListCtrl>(*dialog, "fileList")->GetBold(row, 0)) << row;
  }
  EXPECT_EQ(Status(2), "");
  EXPECT_FALSE(fs::exists(Output("c")));
  for (const char* name : {"a", "b", "d"}) {
    ExpectValidKdx(Output(name));
    kdxreader::KdxHeaderResult header = kdxreader::ReadKdxHeader(Output(name));
    ASSERT_TRUE(header.header) << name;
    EXPECT_TRUE(header.header->width <= 128 && header.header->height <= 128) << name << ": the player's screen";
  }
  EXPECT_FALSE(Find<ThumbnailArea>(*dialog, "thumbnailArea")->picture().isNull()) << "the last run's thumbnail stays";
  EXPECT_EQ(StatusLine(), "Conversion finished.");
  EXPECT_EQ(Find<QPushButton>(*dialog, "convertButton")->text(), "&Convert");
  EXPECT_TRUE(Find<QPushButton>(*dialog, "quitButton")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>(*dialog, "addButton")->isEnabled());
  EXPECT_NE(log.Text().find("KDX Converting " + scratch.File("d.mp4") + " took time: "), std::string::npos);
}

TEST_F(ConversionTest, CancelDuringTheFirstFileLeavesTheOthersTicked) {
  Add("long_320x240.mp4", "long.mp4");
  Add("short_0.6s.mp4", "b.mp4");
  Add("short_0.6s.mp4", "c.mp4");
  OnceWhen cancel([&] { return ShowsProgress(0); },
                  [&] {
                    ASSERT_EQ(Find<QPushButton>(*dialog, "convertButton")->text(), "&Cancel");
                    QTest::mouseClick(Find<QPushButton>(*dialog, "convertButton"), Qt::LeftButton);
                    // Clicked again at once, while the stopped file winds down.
                    QTest::mouseClick(Find<QPushButton>(*dialog, "convertButton"), Qt::LeftButton);
                  });
  ClickConvert();

  // The stopped row: progress gone, no result, unticked.
  EXPECT_EQ(Status(0), "Cancelled.");
  EXPECT_FALSE(Find<CFileDropListCtrl>(*dialog, "fileList")->GetCellData(0, 3)->bShowProgress);
  EXPECT_EQ(Ticked(0), 0);
  EXPECT_EQ(Ticked(1), 1);
  EXPECT_EQ(Ticked(2), 1);
  EXPECT_EQ(Status(1), "");
  EXPECT_TRUE(!fs::exists(Output("long")) && !fs::exists(Output("b")));
  EXPECT_EQ(StatusLine(), "Conversion finished.");
}

TEST_F(ConversionTest, TerminationSignalStopsTheRunningFileSavesTheSettingsAndQuits) {
  TerminationSignals terminationSignals(*dialog);
  Add("long_320x240.mp4", "long.mp4");
  fs::create_directories(fs::path(Output("long")).parent_path());
  std::ofstream(Output("long")) << "old";
  BoxWatcher answers({QMessageBox::Ok});
  OnceWhen terminate([&] { return ShowsProgress(0) && Find<CFileDropListCtrl>(*dialog, "fileList")->GetCellData(0, 3)->nProgressPercent > 0; },
                     [] { raise(SIGTERM); });
  ClickConvert();

  EXPECT_EQ(kdxtest::ReadFile(Output("long")), "old");
  for (const auto& entry : fs::directory_iterator(fs::path(Output("long")).parent_path()))
    EXPECT_EQ(entry.path().filename(), "long.kdx") << "the stopped run's folder is gone";
  EXPECT_NE(SettingsText().find("DestPath=" + destination), std::string::npos) << SettingsText();
  // Every event loop was told to end; a fresh run of the application's own
  // loop clears that for the checks that follow.
  QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  QCoreApplication::exec();
}

TEST_F(ConversionTest, UnusableInputsFailTheirRowsAndTheBatchGoesOn) {
  Add("short_0.6s.mp4", "gone.mp4");
  fs::remove(scratch.File("gone.mp4"));
  Add("video_only.mp4", "silent.mp4");
  Add("short_0.6s.mp4", "good.mp4");
  ClickConvert();

  EXPECT_EQ(Status(0), "Failed. File does not exist.");
  EXPECT_FALSE(Find<CFileDropListCtrl>(*dialog, "fileList")->GetEnabled(0));
  EXPECT_EQ(Status(1), "Failed.");
  EXPECT_EQ(Tip(1),
            "No audio codec is available for this file. Please install a correct codec (the file has no sound "
            "track). Turn on \"Add silence to videos without sound\" to convert it with silent sound.");
  EXPECT_EQ(Status(2), "Complete.");
  ExpectValidKdx(Output("good"));
}

TEST_F(ConversionTest, AnExistingOutputIsReplacedOnlyWhenTheQuestionAgrees) {
  for (const char* name : {"keep", "replace", "timeout"}) {
    Add("short_0.6s.mp4", std::string(name) + ".mp4");
    fs::create_directories(fs::path(Output(name)).parent_path());
    std::ofstream(Output(name)) << "old";
  }
  // Agreeing changes no file's mode: a read-only file, and a link whose
  // target lies elsewhere, are replaced by the finished file's name alone.
  fs::permissions(Output("timeout"), fs::perms::owner_read);
  const std::string target = scratch.File("linked.kdx");
  std::ofstream(target) << "linked";
  fs::permissions(target, fs::perms::owner_read);
  fs::remove(Output("replace"));
  fs::create_symlink(target, Output("replace"));
  BoxWatcher answers({QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::NoButton});
  ClickConvert();

  ASSERT_EQ(answers.texts().size(), 3);
  EXPECT_EQ(answers.texts()[0], QString::fromStdString("The " + Output("keep") +
                                                        " is already existed, click OK to over-write the file, click "
                                                        "Cancel to stop the file conversion."));
  EXPECT_EQ(kdxtest::ReadFile(Output("keep")), "old");
  EXPECT_EQ(Status(0), "Kept the existing file.");
  EXPECT_EQ(Ticked(0), 0);
  EXPECT_EQ(Status(1), "Complete.");
  ExpectValidKdx(Output("replace"));
  EXPECT_FALSE(fs::is_symlink(Output("replace")));
  EXPECT_EQ(kdxtest::ReadFile(target), "linked");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read);
  EXPECT_EQ(Status(2), "Complete.") << "the unanswered question says OK by itself";
  ExpectValidKdx(Output("timeout"));
  EXPECT_NE(log.Text().find("GetDestFileName Error.Conversion abort."), std::string::npos);
}

TEST_F(ConversionTest, AMissingTargetFolderIsMadeOnlyWhenTheUserAgrees) {
  dialog->ShowDestinationFolder(scratch.File("new/target"));
  Add("short_0.6s.mp4", "a.mp4");
  Add("short_0.6s.mp4", "b.mp4");
  BoxWatcher answers({QMessageBox::No, QMessageBox::Ok, QMessageBox::Yes});
  ClickConvert();

  const QString question =
      QString::fromStdString("The " + scratch.File("new/target") + " folder does not exist, do you want to create it?");
  EXPECT_EQ(answers.texts(), (QStringList{question, "The conversion abort!", question}));
  EXPECT_EQ(Status(0), "Skipped: no folder.");
  EXPECT_EQ(Status(1), "Complete.");
  destination = scratch.File("new/target");
  ExpectValidKdx(Output("b"));
}

TEST_F(ConversionTest, AFailedRunDoesNotCutTheNextFilesWaitShort) {
  Add("clip_h264_aac.mp4", "fails.mp4");
  Add("clip_h264_aac.mp4", "next.mp4");
  // The error arrives while the first run still goes on; its final message
  // comes later.
  OnceWhen fail([&] { return ShowsProgress(0); },
                [&] { PostMessage(dialog->WindowHandle(), WM_TRANSCODE_ERROR, 0, E_FAIL); });
  ClickConvert();

  EXPECT_EQ(Status(0), "Failed.");
  EXPECT_EQ(Tip(0), "Failed result = 0x80004005");
  EXPECT_EQ(Status(1), "Complete.");
  kdxreader::KdxLoadResult next = kdxreader::LoadKdx(Output("next"));
  ASSERT_TRUE(next.file) << next.error;
  EXPECT_NEAR(next.file->playingSeconds, 3.0, 0.2);
}

TEST_F(PlayerConversionTest, ConvertedFilesGoToTheDetectedPlayerUntilItIsUnmounted) {
  EXPECT_EQ(StatusLine(), "Device Detected:     NK-128");
  EXPECT_TRUE(Find<QCheckBox>(*dialog, "transferOption")->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>(*dialog, "transferOption")->isChecked());
  EXPECT_EQ(Find<QComboBox>(*dialog, "playerSelector")->currentText(), "NK-128");
  EXPECT_FALSE(Find<QComboBox>(*dialog, "playerSelector")->isEnabled());

  Add("short_0.6s.mp4", "a.mp4");
  ClickConvert();
  EXPECT_EQ(Status(0), "Complete.");
  ExpectValidKdx(mountPoint + "/VIDEO/a.kdx");
  EXPECT_EQ(kdxtest::ReadFile(mountPoint + "/VIDEO/a.kdx"), kdxtest::ReadFile(Output("a")));
  EXPECT_EQ(Find<QCheckBox>(*dialog, "transferOption")->text(), "Transfer outputs file to NK-128 after conversion is complete.");
  EXPECT_FALSE(Find<QComboBox>(*dialog, "playerSelector")->isEnabled()) << "the player is still attached after the batch";

  machine->Unmount(mountPoint);
  ASSERT_TRUE(QTest::qWaitFor([&] { return StatusLine() == "No Supported Player Detected!"; }, 10000));
  EXPECT_FALSE(Find<QCheckBox>(*dialog, "transferOption")->isChecked());
  EXPECT_TRUE(Find<QComboBox>(*dialog, "playerSelector")->isEnabled());
}

TEST_F(PlayerConversionTest, FilesFromTheCommandLineLeaveTheDetectionInTheStatusLine) {
  dialog->QueueStartupFiles({Copy("short_0.6s.mp4", "a.mp4")});
  WaitForAdding();
  EXPECT_EQ(Rows(), 1);
  EXPECT_EQ(StatusLine(), "Device Detected:     NK-128");
}

TEST_F(ConversionTest, APortablePlayerReceivesTheConvertedFile) {
  const std::string name = "\\\\?\\USB#VID_1F3A&PID_0176#MTP1.5#{6ac27878-a6fa-4155-ba85-f98f491d4f33}";
  FakeDeviceManager manager;
  FakeDeviceBackend* player = manager.backend;
  ASSERT_EQ(manager.wmdm->Initialize(), S_OK);
  player->Add(name, "Pocket");
  OpenDialog(PlayerSupport{true, true}, manager.wmdm.get());
  dialog->ShowDestinationFolder(destination);
  EXPECT_EQ(StatusLine(), "Player Detected:     NK-176T");
  EXPECT_TRUE(Find<QCheckBox>(*dialog, "transferOption")->isChecked());

  Add("short_0.6s.mp4", "a.mp4");
  ClickConvert();
  EXPECT_EQ(Status(0), "Complete.");
  ExpectValidKdx(Output("a"));
  ASSERT_EQ(player->sent.size(), 1u);
  EXPECT_EQ(player->sent[0].rfind("root/VIDEO/KDX ", 0), 0u) << player->sent[0];
  EXPECT_EQ(Find<QCheckBox>(*dialog, "transferOption")->text(), "Transfer outputs file to NK-176T after conversion is complete.");
  dialog.reset();
  manager.wmdm->Uninitialize();
}

}  // namespace

namespace {

// kdxconvert finishes a file of the same name while the window converts its
// own: whether the window then goes on or is cancelled, kdxconvert's file
// stays, and the window's row says why it wrote nothing.
TEST_F(ConversionTest, AFileKdxconvertFinishedMeanwhileIsNeverLost) {
  struct Case {
    const char* what;
    bool cancel;
    const char* status;
    const char* tip;
  } cases[] = {
      {"the window goes on", false, "Failed.", "Another conversion wrote the destination file meanwhile"},
      {"the window is cancelled", true, "Cancelled.", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // On a crowded machine the window may finish its long file before
    // kdxconvert gets going; that is not the case under test, so it is tried
    // again with a fresh name.
    std::string name, said;
    for (int attempt = 0; attempt < 3; ++attempt) {
      name = std::string("shared") + (c.cancel ? "1" : "2") + "_" + std::to_string(attempt);
      Add("long_320x240.mp4", name + ".mp4");
      fs::create_directories(scratch.File("cli"));
      fs::copy_file(Clip("short_0.6s.mp4"), scratch.File("cli/" + name + ".mp4"));
      said.clear();
      OnceWhen other([&] { return ShowsProgress(Rows() - 1); },
                     [&] {
                       const std::string model = dialog->SelectedModel()->ModelName;
                       kdxtest::RunCommand(kdxtest::BinPath("kdxconvert") + " --model " + model + " --output '" +
                                               destination + "' '" + scratch.File("cli/" + name + ".mp4") + "'",
                                           &said);
                       if (c.cancel) QTest::mouseClick(Find<QPushButton>(*dialog, "convertButton"), Qt::LeftButton);
                     });
      ClickConvert();
      if (said.find("skipped") == std::string::npos) break;
    }
    const std::string result = Output(name);
    kdxreader::KdxHeaderResult header = kdxreader::ReadKdxHeader(result);
    ASSERT_TRUE(header.header) << said;
    EXPECT_LT(header.header->frameCount, 15) << "kdxconvert's 0.6 s file, not the window's 30 s one";
    EXPECT_EQ(Status(Rows() - 1), c.status);
    EXPECT_EQ(Tip(Rows() - 1).find(c.tip), 0u) << Tip(Rows() - 1);
  }
}

}  // namespace
