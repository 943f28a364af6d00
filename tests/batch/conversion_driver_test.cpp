#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>

#include "../converter/test_env.h"
#include "fake_batch_window.h"
#include "kdx.h"
#include "kdxreader/kdx_file.h"
#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

class BatchTest : public ::testing::Test {
 protected:
  BatchTest() {
    window.destination = dir.File("out");
    fs::create_directory(window.destination);
  }
  ~BatchTest() override { CloseTranscoder(); }

  // A copy of a generated clip under its own name, queued.
  int Add(const std::string& clip, const std::string& name) {
    fs::copy_file(kdxtest::MediaPath(clip), dir.File(name));
    return window.AddFile(dir.File(name));
  }
  std::string Output(const std::string& base) const {
    return window.destination + "/" + window.model.ModelName + "/" + base + ".kdx";
  }
  std::string Status(int row) { return window.FileList().GetItemText(row, 3).toStdString(); }
  std::string Tip(int row) { return window.FileList().GetItemToolTipText(row, 3).toStdString(); }
  int Ticked(int row) { return window.FileList().GetCheckbox(row, 0); }
  bool Bold(int row) { return window.FileList().GetBold(row, 0); }
  // True once the message is the first progress message of the row's run.
  bool FirstProgressOf(int row, const WindowMessage& m) {
    return m.message == WM_TRANSCODE_PROGRESS && window.driver.CurrentRow() == row && !seen_[row]++;
  }
  void ExpectValidKdx(const std::string& path) {
    kdxreader::KdxLoadResult loaded = kdxreader::LoadKdx(path);
    EXPECT_TRUE(loaded.file) << path << ": " << loaded.error;
  }

  kdxtest::ScratchDir home;
  ScopedEnv config{"NKDX_CONFIG_DIR", home.path().c_str()};
  ScopedEnv temp{"TMPDIR", home.path().c_str()};
  ScratchLog log;
  kdxtest::ScratchDir dir;
  FakeBatchWindow window;

 private:
  std::map<int, int> seen_;
};

TEST_F(BatchTest, ConvertsEveryTickedRowIncludingOneAddedMeanwhile) {
  window.model.ScreenSize = "320*240";
  window.model.FrameRate = "5";
  Add("short_0.6s.mp4", "a.mp4");
  Add("tiny_64x48.mp4", "b.mp4");
  const int skipped = Add("short_0.6s.mp4", "c.mp4");
  window.FileList().SetCheckbox(skipped, 0, 0);
  window.onMessage = [&](const WindowMessage& m) {
    if (FirstProgressOf(0, m)) Add("short_0.6s.mp4", "d.mp4");
    return false;
  };
  window.driver.ConvertAll();

  for (int row : {0, 1, 3}) {
    EXPECT_EQ(Status(row), "Complete.") << row;
    EXPECT_EQ(Ticked(row), 0);
    EXPECT_FALSE(Bold(row));
  }
  EXPECT_EQ(Status(skipped), "");
  EXPECT_FALSE(fs::exists(Output("c")));
  for (const char* name : {"a", "b", "d"}) {
    ExpectValidKdx(Output(name));
    kdxreader::KdxHeaderResult header = kdxreader::ReadKdxHeader(Output(name));
    ASSERT_TRUE(header.header);
    EXPECT_EQ(header.header->framesPerSecond, 10);
    // 320*240 is beyond the player: 128 by 128 at most, the whole 4:3 picture kept.
    if (name != std::string("b")) {
      EXPECT_EQ(header.header->width * 1000 + header.header->height, 128'096);
    }
  }
  EXPECT_EQ(window.transferred, (std::vector<std::string>{Output("a"), Output("b"), Output("d")}));
  EXPECT_FALSE(window.thumbnails.empty());
  EXPECT_FALSE(window.thumbnails.back().isNull());
  EXPECT_EQ(window.statusTexts.front(), "Start converting...");
  EXPECT_TRUE(window.statusTexts.contains(QString::fromStdString(dir.File("b.mp4")) + " complete."));
  EXPECT_EQ(window.statusTexts.back(), "Conversion finished.");
  EXPECT_EQ(window.caption, "&Convert");
  EXPECT_TRUE(window.quitEnabled && window.controlsEnabled && !window.driver.IsConverting());
  EXPECT_NE(log.Text().find("KDX Converting " + dir.File("d.mp4") + " took time: "), std::string::npos);
}

TEST_F(BatchTest, CancelDuringTheFirstFileLeavesTheOthersQueued) {
  Add("long_320x240.mp4", "long.mp4");
  Add("short_0.6s.mp4", "b.mp4");
  Add("short_0.6s.mp4", "c.mp4");
  window.FileList().SetItemText(2, 3, "Complete.");
  window.onMessage = [&](const WindowMessage& m) {
    if (!FirstProgressOf(0, m)) return false;
    QTimer::singleShot(0, [&] {
      window.driver.CancelConversion();
      window.driver.ConvertAll();  // Convert clicked again while the stopped file winds down
    });
    return false;
  };
  window.driver.ConvertAll();

  EXPECT_EQ(Status(0), "");
  EXPECT_FALSE(window.FileList().GetCellData(0, 3)->bShowProgress);
  EXPECT_EQ(Ticked(0), 0);
  EXPECT_EQ(Ticked(1), 1);
  EXPECT_EQ(Ticked(2), 1);
  EXPECT_EQ(Status(2), "Complete.");
  EXPECT_TRUE(fs::is_empty(window.destination + "/" + window.model.ModelName));
  EXPECT_TRUE(window.statusTexts.contains("Conversion abort."));
  EXPECT_EQ(window.statusTexts.back(), "Conversion finished.");
}

TEST_F(BatchTest, UnusableInputsFailTheirRowsAndTheBatchGoesOn) {
  Add("short_0.6s.mp4", "gone.mp4");
  fs::remove(dir.File("gone.mp4"));
  Add("video_only.mp4", "silent.mp4");
  Add("short_0.6s.mp4", "good.mp4");
  window.driver.ConvertAll();

  EXPECT_EQ(Status(0), "Failed. File does not exist.");
  EXPECT_FALSE(window.FileList().GetEnabled(0));
  EXPECT_EQ(Status(1), "Failed.");
  EXPECT_EQ(Tip(1), "No audio codec is available for this file. Please install a correct codec");
  EXPECT_EQ(Status(2), "Complete.");
  ExpectValidKdx(Output("good"));
}

TEST_F(BatchTest, AnExistingOutputIsReplacedOnlyWhenTheQuestionAgrees) {
  for (const char* name : {"keep", "replace", "timeout"}) {
    Add("short_0.6s.mp4", std::string(name) + ".mp4");
    fs::create_directories(fs::path(Output(name)).parent_path());
    std::ofstream(Output(name)) << "old";
  }
  fs::permissions(Output("replace"), fs::perms::owner_read);
  window.driver.SetOverwriteQuestionTimeout(300);
  BoxAnswers answers({QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::NoButton});
  window.driver.ConvertAll();

  ASSERT_EQ(answers.texts.size(), 3);
  EXPECT_EQ(answers.texts[0], QString::fromStdString("The " + Output("keep") +
                                                      " is already existed, click OK to over-write the file, click "
                                                      "Cancel to stop the file conversion."));
  EXPECT_EQ(kdxtest::ReadFile(Output("keep")), "old");
  EXPECT_EQ(Status(0), "");
  EXPECT_EQ(Ticked(0), 0);
  ExpectValidKdx(Output("replace"));
  ExpectValidKdx(Output("timeout"));
  EXPECT_NE(log.Text().find("GetDestFileName Error.Conversion abort."), std::string::npos);
}

TEST_F(BatchTest, AMissingTargetFolderIsMadeOnlyWhenTheUserAgrees) {
  window.destination = dir.File("new/target");
  Add("short_0.6s.mp4", "a.mp4");
  Add("short_0.6s.mp4", "b.mp4");
  BoxAnswers answers({QMessageBox::No, QMessageBox::Ok, QMessageBox::Yes});
  window.driver.ConvertAll();

  const QString question = QString::fromStdString("The " + dir.File("new/target") +
                                                   " folder does not exist, do you want to create it?");
  EXPECT_EQ(answers.texts, (QStringList{question, "The conversion abort!", question}));
  EXPECT_EQ(Status(0), "");
  EXPECT_EQ(Status(1), "Complete.");
  ExpectValidKdx(Output("b"));
}

TEST_F(BatchTest, AFailedRunDoesNotCutTheNextFilesWaitShort) {
  Add("clip_h264_aac.mp4", "fails.mp4");
  Add("clip_h264_aac.mp4", "next.mp4");
  // The error arrives while the first run still goes on; its final message
  // comes later.
  window.onMessage = [&](const WindowMessage& m) {
    if (FirstProgressOf(0, m)) PostMessage(window.WindowHandle(), WM_TRANSCODE_ERROR, 0, E_FAIL);
    return false;
  };
  window.driver.ConvertAll();

  EXPECT_EQ(Status(0), "Failed.");
  EXPECT_EQ(Tip(0), "Failed result = 0x80004005");
  EXPECT_FALSE(Bold(0));
  EXPECT_EQ(Status(1), "Complete.");
  kdxreader::KdxLoadResult next = kdxreader::LoadKdx(Output("next"));
  ASSERT_TRUE(next.file) << next.error;
  EXPECT_NEAR(next.file->playingSeconds, 3.0, 0.2);
  EXPECT_NE(log.Text().find("Failed result = 0x80004005"), std::string::npos);
}

TEST_F(BatchTest, AnEncoderThatDoesNotStartFailsOnlyItsRow) {
  Add("short_0.6s.mp4", "refused.mp4");
  Add("short_0.6s.mp4", "next.mp4");
  // Closing the transcoder after it was opened makes Transcode refuse.
  window.onModelRead = [&] {
    if (window.driver.CurrentRow() == 0) CloseTranscoder();
  };
  window.driver.ConvertAll();

  EXPECT_EQ(Status(0), "Failed.");
  EXPECT_EQ(Tip(0), "Failed. The encoder did not start the conversion.");
  EXPECT_EQ(Status(1), "Complete.");
}

TEST_F(BatchTest, APercentAbove100EndsTheRun) {
  Add("short_0.6s.mp4", "a.mp4");
  bool forced = false;
  QTimer watchdog;
  watchdog.callOnTimeout([&] {
    forced = true;
    window.driver.OnTranscodeProgress(100, 0);
  });
  watchdog.start(60000);
  window.onMessage = [&](const WindowMessage& m) {
    if (m.message != WM_TRANSCODE_PROGRESS || m.wParam != 100) return false;
    window.driver.OnTranscodeProgress(150, m.lParam);
    return true;
  };
  window.driver.ConvertAll();

  EXPECT_FALSE(forced);
  EXPECT_EQ(Status(0), "Complete.");
}

// Quitting poisons every later event loop of the process; ctest runs each
// test on its own.
TEST_F(BatchTest, QuittingTheApplicationStopsTheRunAndTheBatch) {
  Add("long_320x240.mp4", "long.mp4");
  Add("short_0.6s.mp4", "b.mp4");
  window.onMessage = [&](const WindowMessage& m) {
    if (FirstProgressOf(0, m)) QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    return false;
  };
  window.driver.ConvertAll();

  EXPECT_FALSE(window.driver.IsConverting());
  EXPECT_FALSE(fs::exists(Output("long")));
  EXPECT_EQ(Ticked(1), 1);
}

}  // namespace
