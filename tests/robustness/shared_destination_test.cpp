// SPDX-License-Identifier: GPL-2.0-or-later
// Conversions that meet at one destination or in a folder others can write
// to: two kdxconvert processes writing the same file, and links planted
// where the converter writes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include "tools/kdxreader/kdx_file.h"
#include "tests/robustness/outcome_checks.h"

extern char** environ;

namespace kdxtest {
namespace {

namespace fs = std::filesystem;

constexpr uid_t kOtherUser = 65534;  // nobody

// A kdxconvert process in the background, stopped and resumed by signals;
// what it prints goes to a file.
class BackgroundKdxconvert {
 public:
  BackgroundKdxconvert(const ScratchDir& dir, const std::string& arguments) : output_(dir.File("background.txt")) {
    // `exec` all the way: the process signalled is kdxconvert itself.
    std::string command = "exec " + KdxconvertCommand(dir, arguments, "") + " > '" + output_ + "' 2>&1";
    const char* argv[] = {"/bin/sh", "-c", command.c_str(), nullptr};
    if (posix_spawn(&pid_, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) pid_ = -1;
  }
  ~BackgroundKdxconvert() {
    if (pid_ > 0) Signal(SIGKILL), Wait();
  }
  void Signal(int number) const { kill(pid_, number); }
  bool Running() const { return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0; }
  // Waits for the end; the exit status, -1 after a signal.
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Output() const { return ReadFile(output_); }

 private:
  std::string output_;
  pid_t pid_ = -1;
};

// The sound part of a run's file in `folder` is being written.
bool RunIsConverting(const std::string& folder) {
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->path().filename().string().starts_with(".kdx-") && fs::file_size(it->path() / ".kdx", error) > 0 && !error)
      return true;
  }
  return false;
}

bool IsValidKdx(const std::string& path) { return kdxreader::LoadKdx(path).file.has_value(); }

TEST(SharedDestination, AFinishedFileIsNeverLostToAnotherRun) {
  enum class Then { kStop, kKill, kGoOn };
  enum class Kept { kFirstFinished, kOlder, kSecond };
  struct Case {
    const char* what;
    bool olderFile;
    bool overwrite;           // given to both runs
    const char* otherSource;  // the run that finishes while the long one waits; null for none
    Then then;                // what happens to the long run afterwards
    Kept kept;
    const char* longRunSays;
  } cases[] = {
      {"stopped after the other finished", false, false, "short_0.6s.mp4", Then::kStop, Kept::kFirstFinished,
       "stopped, no file written."},
      {"killed after the other finished", false, false, "short_0.6s.mp4", Then::kKill, Kept::kFirstFinished, ""},
      {"finishing after the other, nothing there at the start", false, false, "short_0.6s.mp4", Then::kGoOn,
       Kept::kFirstFinished, "Failed. Another conversion wrote the destination file meanwhile"},
      {"finishing after the other, both replacing an older file", true, true, "short_0.6s.mp4", Then::kGoOn,
       Kept::kFirstFinished, "Failed. Another conversion wrote the destination file meanwhile"},
      {"finishing after the other failed", true, true, "no_media_data.mp4", Then::kGoOn, Kept::kSecond,
       "converted to"},
      {"replacing an older file, stopped", true, true, nullptr, Then::kStop, Kept::kOlder, "stopped, no file written."},
      {"replacing an older file, killed", true, true, nullptr, Then::kKill, Kept::kOlder, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDir dir;
    const std::string out = dir.File("out");
    const std::string destination = out + "/NK-128/clip.kdx";
    const std::string flags = std::string("--model NK-128 ") + (c.overwrite ? "--overwrite " : "") + "--output '" +
                              out + "' ";
    fs::create_directories(dir.File("long"));
    fs::create_directories(dir.File("other"));
    fs::create_directories(out + "/NK-128");
    fs::copy_file(MediaPath("fraction_10.4s.mp4"), dir.File("long/clip.mp4"));
    if (c.olderFile) std::ofstream(destination) << "older";

    BackgroundKdxconvert longRun(dir, flags + dir.File("long/clip.mp4"));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!RunIsConverting(out + "/NK-128") && longRun.Running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    longRun.Signal(SIGSTOP);
    ASSERT_TRUE(RunIsConverting(out + "/NK-128")) << longRun.Output();

    std::string firstFinished = c.olderFile ? "older" : "";
    if (c.otherSource != nullptr) {
      fs::copy_file(MediaPath(c.otherSource), dir.File("other/clip.mp4"));
      std::string said;
      RunKdxconvert(dir, flags + dir.File("other/clip.mp4"), &said);
      if (IsValidKdx(destination)) firstFinished = ReadFile(destination);
      ASSERT_NE(firstFinished, "") << said;
    }
    switch (c.then) {
      case Then::kStop:
        longRun.Signal(SIGTERM);
        break;
      case Then::kKill:
        longRun.Signal(SIGKILL);
        break;
      case Then::kGoOn:
        break;
    }
    longRun.Signal(SIGCONT);
    const int status = longRun.Wait();
    EXPECT_NE(longRun.Output().find(c.longRunSays), std::string::npos) << longRun.Output();

    switch (c.kept) {
      case Kept::kFirstFinished:
      case Kept::kOlder:
        EXPECT_EQ(ReadFile(destination), firstFinished);
        // Stopped cleanly, it ends by the signal all the same.
        EXPECT_EQ(status, c.then == Then::kGoOn ? 1 : -1);
        break;
      case Kept::kSecond:
        EXPECT_TRUE(IsValidKdx(destination));
        EXPECT_NE(ReadFile(destination), firstFinished);
        EXPECT_EQ(status, 0);
        break;
    }
  }
}

// A user other than the one converting; tests that need one make it with
// chown, which only root may do.
bool CanActAsAnotherUser() { return geteuid() == 0; }

TEST(SharedDestination, LinksPlantedWhereTheConverterWritesAreNotFollowed) {
  struct Case {
    const char* what;
    bool needsAnotherUser;
    // Plants the link in `out` (the output folder) pointing into `elsewhere`.
    std::function<void(const std::string& out, const std::string& elsewhere)> plant;
    int status;
    const char* says;
    std::function<void(const std::string& out, const std::string& elsewhere)> check;
  } cases[] = {
      {"a destination that is a link is replaced as a link", false,
       [](const std::string& out, const std::string& elsewhere) {
         std::ofstream(elsewhere + "/target.kdx") << "target";
         fs::permissions(elsewhere + "/target.kdx", fs::perms::owner_read);
         fs::create_directories(out + "/NK-128");
         fs::create_symlink(elsewhere + "/target.kdx", out + "/NK-128/clip.kdx");
       },
       0, "converted to",
       [](const std::string& out, const std::string& elsewhere) {
         EXPECT_FALSE(fs::is_symlink(out + "/NK-128/clip.kdx"));
         EXPECT_TRUE(IsValidKdx(out + "/NK-128/clip.kdx"));
         EXPECT_EQ(ReadFile(elsewhere + "/target.kdx"), "target");
         EXPECT_EQ(fs::status(elsewhere + "/target.kdx").permissions(), fs::perms::owner_read);
       }},
      {"another user's model folder link in a shared folder is refused", true,
       [](const std::string& out, const std::string& elsewhere) {
         fs::permissions(out, fs::perms::all | fs::perms::sticky_bit);
         fs::create_symlink(elsewhere, out + "/NK-128");
         ASSERT_EQ(lchown((out + "/NK-128").c_str(), kOtherUser, kOtherUser), 0);
       },
       1, "folder is a link owned by another user in a shared folder; it is not followed.",
       [](const std::string&, const std::string& elsewhere) { EXPECT_TRUE(fs::is_empty(elsewhere)); }},
      {"another user's run folder is not swept", true,
       [](const std::string& out, const std::string&) {
         fs::create_directories(out + "/NK-128/.kdx-Crafty");
         std::ofstream(out + "/NK-128/.kdx-Crafty/.lock") << "";
         ASSERT_EQ(chown((out + "/NK-128/.kdx-Crafty").c_str(), kOtherUser, kOtherUser), 0);
       },
       0, "converted to",
       [](const std::string& out, const std::string&) {
         EXPECT_TRUE(fs::exists(out + "/NK-128/.kdx-Crafty/.lock"));
         EXPECT_TRUE(IsValidKdx(out + "/NK-128/clip.kdx"));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.needsAnotherUser && !CanActAsAnotherUser()) {
      std::printf("skipped without root: %s\n", c.what);
      continue;
    }
    ScratchDir dir;
    const std::string out = dir.File("out");
    const std::string elsewhere = dir.File("elsewhere");
    fs::create_directories(out);
    fs::create_directories(elsewhere);
    fs::copy_file(MediaPath("short_0.6s.mp4"), dir.File("clip.mp4"));
    c.plant(out, elsewhere);
    std::string said;
    EXPECT_EQ(RunKdxconvert(dir, "--model NK-128 --overwrite --output '" + out + "' " + dir.File("clip.mp4"), &said),
              c.status)
        << said;
    EXPECT_NE(said.find(c.says), std::string::npos) << said;
    c.check(out, elsewhere);
  }
}

}  // namespace
}  // namespace kdxtest
