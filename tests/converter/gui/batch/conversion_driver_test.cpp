#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <filesystem>
#include <map>

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
  std::string Status(int row) { return window.FileList().GetItemText(row, 3).toStdString(); }
  std::string Tip(int row) { return window.FileList().GetItemToolTipText(row, 3).toStdString(); }
  int Ticked(int row) { return window.FileList().GetCheckbox(row, 0); }
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
