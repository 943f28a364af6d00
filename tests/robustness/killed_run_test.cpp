// SPDX-License-Identifier: GPL-2.0-or-later
// Conversions killed with SIGKILL at the moments a crash, a logout or a
// power cut may hit, and the runs that come after them in the same folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "kdx.h"
#include "tests/transcoder/kdx_check.h"
#include "tests/robustness/outcome_checks.h"

extern char** environ;

namespace kdxtest {
namespace {

namespace fs = std::filesystem;

constexpr char kLongClip[] = "long_320x240.mp4";

// A conversion running in a child process, followed through its lines.
class ChildRun {
 public:
  ChildRun(const std::string& source, const std::string& destination, int pauseAtSync = 0) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
      ADD_FAILURE() << "no pipe";
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::vector<std::string> args = {KILLED_RUN_CHILD, source, destination, std::to_string(pauseAtSync)};
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, KILLED_RUN_CHILD, &actions, nullptr, argv.data(), environ) != 0) {
      pid_ = -1;
      ADD_FAILURE() << "cannot start " << KILLED_RUN_CHILD;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    out_ = fds[0];
  }
  ~ChildRun() {
    Kill();
    if (out_ >= 0) close(out_);
  }
  ChildRun(const ChildRun&) = delete;
  ChildRun& operator=(const ChildRun&) = delete;

  // Reads lines until one starts with `prefix` and the number after it is
  // at least `atLeast`; false when the child ends or falls silent first.
  bool WaitFor(const std::string& prefix, int atLeast = 0) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    for (;;) {
      for (size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
        const std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        if (line.rfind(prefix, 0) == 0 && std::atoi(line.c_str() + prefix.size()) >= atLeast) return true;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd ready{out_, POLLIN, 0};
      if (left.count() <= 0 || poll(&ready, 1, static_cast<int>(left.count())) <= 0) return false;
      char chunk[256];
      const ssize_t n = read(out_, chunk, sizeof chunk);
      if (n <= 0) return false;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  void Kill() {
    if (pid_ <= 0) return;
    kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  int out_ = -1;
  std::string buffer_;
};

// The runs' private folders in `folder`.
std::vector<std::string> RunFolders(const std::string& folder) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_directory() && entry.path().filename().string().rfind(".kdx-", 0) == 0) {
      found.push_back(entry.path().string());
    }
  }
  return found;
}

void WriteText(const std::string& path, const char* text) {
  std::FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs(text, f);
  std::fclose(f);
}

// A conversion in the same folder after a kill: it converts, and nothing
// but KDX files remains, the killed run's folder included.
void ExpectNextRunConvertsAndCleansUp(const ScratchDir& dir, const std::string& label) {
  MessageQueue queue;
  const std::string next = dir.File("next.kdx");
  const LibraryOutcome outcome =
      ConvertThroughLibrary(MediaPath("clip_mpeg4_mp3.avi"), next, MakeRequest(queue.window(), 128, 128, true), queue);
  EXPECT_EQ(outcome.run.errorCount, 0) << label;
  ExpectDocumentedOutcome(outcome, next, label);
  EXPECT_TRUE(fs::exists(next)) << label;
  ExpectOnlyValidKdxFiles(dir.path(), label);
}

TEST(KilledRun, LeavesTheOlderFileAsItWasAndTheNextRunRemovesItsFolder) {
  struct Moment {
    const char* name;
    const char* line;  // the child's line to kill at
    int percent;
    int pauseAtSync;
    bool folderMade;  // the run's folder exists at that moment
  } moments[] = {
      {"before the sound starts", "started", 0, 0, false},
      {"mid-run", "progress ", 30, 0, true},
      {"during the final assembly", "syncing ", 1, 1, true},
  };
  for (const Moment& moment : moments) {
    ScratchDir dir;
    const std::string out = dir.File("movie.kdx");
    // Replaced only by a finished file.
    WriteText(out, "an older file");
    {
      ChildRun child(MediaPath(kLongClip), out, moment.pauseAtSync);
      ASSERT_TRUE(child.WaitFor(moment.line, moment.percent)) << moment.name;
      if (moment.folderMade) {
        const std::vector<std::string> folders = RunFolders(dir.path());
        ASSERT_EQ(folders.size(), 1u) << moment.name;
        EXPECT_GT(fs::file_size(folders[0] + "/.kdx"), 4096u) << moment.name << ": the sound is being written";
      }
      child.Kill();
    }
    EXPECT_EQ(ReadFile(out), "an older file") << moment.name;
    fs::remove(out);  // no KDX file; the check below wants only those
    ExpectNextRunConvertsAndCleansUp(dir, moment.name);
  }
}

TEST(KilledRun, RightAfterTheRenameLeavesTheWholeFile) {
  ScratchDir dir;
  const std::string out = dir.File("movie.kdx");
  {
    ChildRun child(MediaPath("clip_h264_aac.mp4"), out, 2);
    ASSERT_TRUE(child.WaitFor("syncing ", 2));
    child.Kill();
  }
  EXPECT_TRUE(LoadValid(out).sound.present);
  EXPECT_EQ(RunFolders(dir.path()).size(), 1u);  // its folder had no time to go
  ExpectNextRunConvertsAndCleansUp(dir, "killed after the rename");
}

TEST(KilledRun, ALiveRunInTheSameFolderKeepsItsFolder) {
  ScratchDir dir;
  // Held before its final rename, the run stays alive however quick.
  ChildRun live(MediaPath(kLongClip), dir.File("live.kdx"), 1);
  ASSERT_TRUE(live.WaitFor("progress ", 5));
  const std::vector<std::string> folders = RunFolders(dir.path());
  ASSERT_EQ(folders.size(), 1u);

  MessageQueue queue;
  const LibraryOutcome outcome = ConvertThroughLibrary(MediaPath("clip_mpeg4_mp3.avi"), dir.File("other.kdx"),
                                                       MakeRequest(queue.window(), 128, 128, true), queue);
  EXPECT_EQ(outcome.run.errorCount, 0);
  EXPECT_TRUE(fs::exists(dir.File("other.kdx")));
  EXPECT_EQ(RunFolders(dir.path()), folders);
  EXPECT_TRUE(fs::exists(folders[0] + "/.video"));
  live.Kill();
}

}  // namespace
}  // namespace kdxtest
