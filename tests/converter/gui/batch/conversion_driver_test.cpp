// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>

#include "converter/core/request/failure_texts.h"
#include "tests/converter/core/test_env.h"
#include "tests/converter/gui/batch/fake_batch_window.h"
#include "kdx.h"
#include "tests/support/test_paths.h"

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
  std::string Status(int row) { return window.queue.Status(row).toStdString(); }
  std::string Tip(int row) { return window.queue.StatusTip(row).toStdString(); }
  int Ticked(int row) { return window.queue.IsTicked(row) ? 1 : 0; }
  // True once the message is the first progress message of the row's run.
  bool FirstProgressOf(int row, const WindowMessage& m) {
    return m.message == WM_TRANSCODE_PROGRESS && window.driver.CurrentRow() == row && !seen_[row]++;
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

enum class Given { kClip, kUnticked, kRemoved, kNotAVideo, kSameNameAsFirst };

struct RowCase {
  Given given;
  std::string status;  // afterwards
  std::string tip;     // part of the status tooltip
  bool ticked;
  bool enabled;
};

TEST_F(BatchTest, EachRowShowsItsOutcomeAndTheLastRowStaysCurrent) {
  const RowCase cases[] = {
      {Given::kClip, "Complete.", "", false, true},
      {Given::kUnticked, "Left alone.", "", false, true},
      {Given::kRemoved, kMissingInputText, "", false, false},
      {Given::kNotAVideo, "Failed.", "", false, true},
      {Given::kSameNameAsFirst, "Failed.", "was already written by this batch", false, true},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string name = "row" + std::to_string(i) + ".mp4";
    if (cases[i].given == Given::kNotAVideo) {
      std::ofstream(dir.File(name)) << "no video here\n";
      window.AddFile(dir.File(name));
    } else {
      Add("short_0.6s.mp4", name);
    }
    const int row = static_cast<int>(i);
    if (cases[i].given == Given::kUnticked) {
      window.queue.SetTicked(row, false);
      window.queue.SetStatus(row, "Left alone.");
    }
    if (cases[i].given == Given::kRemoved) fs::remove(dir.File(name));
    if (cases[i].given == Given::kSameNameAsFirst) window.queue.Record(row)->strOutputName = "row0.kdx";
  }
  // The last row's output exists by then; the question answers OK by itself.
  window.driver.SetOverwriteQuestionTimeout(300);
  window.driver.ConvertAll();

  for (size_t i = 0; i < std::size(cases); ++i) {
    const int row = static_cast<int>(i);
    SCOPED_TRACE(row);
    EXPECT_EQ(Status(row), cases[i].status) << Tip(row);
    EXPECT_NE(Tip(row).find(cases[i].tip), std::string::npos) << Tip(row);
    EXPECT_EQ(Ticked(row), cases[i].ticked ? 1 : 0);
    EXPECT_EQ(window.queue.IsEnabled(row), cases[i].enabled);
    EXPECT_FALSE(window.queue.ShowsProgress(row));
  }
  EXPECT_TRUE(fs::exists(Output("row0")));
  EXPECT_FALSE(fs::exists(Output("row3")));
  // The highlight ends where the batch ended, so the panel shows that row.
  ASSERT_FALSE(window.currentRows.empty());
  EXPECT_EQ(window.currentRows.back(), static_cast<int>(std::size(cases)) - 1);
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
