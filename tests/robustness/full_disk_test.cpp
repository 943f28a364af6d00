// SPDX-License-Identifier: GPL-2.0-or-later
// Conversions whose writes fail part-way: under a file-size limit and on a
// file system that fills up. The run must say so with the system's reason,
// end as documented and leave neither a destination nor a temporary.
#include <gtest/gtest.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include "tests/robustness/outcome_checks.h"

namespace kdxtest {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kChildSecondsLimit = 150;

// What a conversion in a child process reports to the test.
struct ChildReport {
  bool prepared = false;  // false: the child could not set up its limit
  HRESULT opened = S_OK;
  int errorCount = 0;
  WPARAM errorCode = 0;
  HRESULT errorResult = 0;
  int errorReason = 0;
  int finalCount = 0;
  bool errorBeforeFinal = true;
  bool timedOut = false;
  char listing[1024] = {};  // entries of the destination's folder, one a line
};

std::string SortedListing(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += name + "\n";
  return text;
}

// Runs `prepare` and then the conversion in a child process, so a resource
// limit or a mount stays there; the child looks at the destination's folder
// itself, since a mount of its own is visible only to it.
ChildReport ConvertInChild(const std::function<bool()>& prepare, const std::string& source,
                           const std::string& destination, const TRANSCODER_PARAM& request) {
  int channel[2];
  if (pipe(channel) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    alarm(kChildSecondsLimit);  // a hang ends the child instead of the test
    ChildReport report;
    report.prepared = prepare();
    if (report.prepared) {
      MessageQueue queue;
      RunMessages run;
      report.opened = ConvertFile(source, destination, request, queue, &run);
      CloseTranscoder();
      report.errorCount = run.errorCount;
      report.errorCode = run.errorCode;
      report.errorResult = run.errorResult;
      report.errorReason = run.errorReason;
      report.finalCount = run.finalCount;
      report.errorBeforeFinal = run.errorBeforeFinal;
      report.timedOut = run.timedOut;
      const std::string listing = SortedListing(fs::path(destination).parent_path().string());
      std::snprintf(report.listing, sizeof report.listing, "%s", listing.c_str());
    }
    const bool sent = write(channel[1], &report, sizeof report) == static_cast<ssize_t>(sizeof report);
    _exit(sent ? 0 : 1);
  }
  close(channel[1]);
  ChildReport report;
  size_t got = 0;
  auto* bytes = reinterpret_cast<char*>(&report);
  while (got < sizeof report) {
    const ssize_t n = read(channel[0], bytes + got, sizeof report - got);
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the converting child died, status " << status;
  EXPECT_EQ(got, sizeof report);
  return report;
}

// Writes past `bytes` in any one file fail with EFBIG instead of killing
// the process.
std::function<bool()> FileSizeLimit(rlim_t bytes) {
  return [bytes] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    return setrlimit(RLIMIT_FSIZE, &limit) == 0;
  };
}

// A private tmpfs of `bytes` mounted on `folder`; false where the system
// refuses a mount namespace (an unprivileged user, a locked-down container).
std::function<bool()> SmallFileSystem(const std::string& folder, size_t bytes) {
  return [folder, bytes] {
    const std::string options = "size=" + std::to_string(bytes);
    return unshare(CLONE_NEWNS) == 0 && mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
  };
}

// `reason`: the errno the failure must carry, 0 for none.
void ExpectFailedWithoutFiles(const ChildReport& report, int reason, const std::string& label) {
  SCOPED_TRACE(label);
  ASSERT_TRUE(report.prepared);
  ASSERT_EQ(report.opened, S_OK);
  EXPECT_FALSE(report.timedOut);
  EXPECT_EQ(report.errorCount, 1);
  EXPECT_EQ(report.errorCode, 0u);
  EXPECT_EQ(report.errorResult, E_FAIL);
  EXPECT_EQ(report.errorReason, reason) << std::strerror(report.errorReason);
  EXPECT_TRUE(report.errorBeforeFinal);
  EXPECT_EQ(report.finalCount, 1);
  EXPECT_STREQ(report.listing, "");
}

// 22050 Hz stereo sound beside pictures of 96x64 at 12 frames per second;
// `videoKBps` sets how large the chunk area grows against the sound part.
TRANSCODER_PARAM Request(int videoKBps) { return MakeRequest(nullptr, 96, 64, true, 12, videoKBps); }

class FullDisk : public testing::Test {
 protected:
  // Size of the file a run without any limit makes.
  uintmax_t UnlimitedSize(const TRANSCODER_PARAM& request) {
    MessageQueue queue;
    RunMessages run;
    const std::string destination = dir_.File("unlimited.kdx");
    EXPECT_EQ(ConvertFile(source_, destination, request, queue, &run), S_OK);
    CloseTranscoder();
    const uintmax_t size = fs::file_size(destination);
    fs::remove(destination);
    return size;
  }

  const std::string source_ = MediaPath("clip_mpeg4_mp3.avi");
  ScratchDir dir_;
};

TEST_F(FullDisk, FileSizeLimitFailsTheRunWhereverTheWritesStop) {
  const TRANSCODER_PARAM bigPictures = Request(400);
  const uintmax_t whole = UnlimitedSize(bigPictures);
  fs::create_directory(dir_.File("out"));
  const std::string destination = dir_.File("out/limited.kdx");
  // Early in the run, and at the last bytes of the destination.
  for (uintmax_t limit : {uintmax_t{64 * 1024}, whole - 1}) {
    ExpectFailedWithoutFiles(ConvertInChild(FileSizeLimit(limit), source_, destination, bigPictures), EFBIG,
                             "limit " + std::to_string(limit) + " of " + std::to_string(whole));
  }
}

TEST_F(FullDisk, SoundPartCutShortFailsTheRunThoughThePicturesWouldFit) {
  // Small chunks: the sound part is the larger half of the file, so a limit
  // below it stops the sound while the pictures alone would still fit.
  const TRANSCODER_PARAM smallPictures = Request(8);
  const uintmax_t whole = UnlimitedSize(smallPictures);
  fs::create_directory(dir_.File("out"));
  ExpectFailedWithoutFiles(
      // The sound's writer does not pass the system's reason on.
      ConvertInChild(FileSizeLimit(whole / 2), source_, dir_.File("out/limited.kdx"), smallPictures), 0,
      "limit " + std::to_string(whole / 2) + " of " + std::to_string(whole));
}

TEST_F(FullDisk, FullFileSystemFailsTheRunAndFreesItsSpace) {
  fs::create_directory(dir_.File("small"));
  const std::string destination = dir_.File("small/full.kdx");
  const ChildReport report =
      ConvertInChild(SmallFileSystem(dir_.File("small"), 128 * 1024), source_, destination, Request(400));
  if (!report.prepared) GTEST_SKIP() << "no private tmpfs can be mounted here";
  ExpectFailedWithoutFiles(report, ENOSPC, "128 KiB file system");
}

TEST_F(FullDisk, KdxconvertReportsTheFailureAndExits1) {
  // The shell ignores SIGXFSZ for kdxconvert, as the limit's writes then fail.
  const std::string launcher = "timeout 120 sh -c 'trap \"\" XFSZ; exec prlimit --fsize=65536 \"$0\" \"$@\"'";
  const std::string out = dir_.File("out");
  std::string output;
  const int status = RunKdxconvert(dir_, "--model NK-96 --output '" + out + "' " + source_, &output, launcher);
  EXPECT_EQ(status, 1) << output;
  EXPECT_NE(output.find(source_ + ": Failed. Failed result = 0x80004005 (File too large)"), std::string::npos)
      << output;
  EXPECT_EQ(ExpectOnlyValidKdxFiles(out, "kdxconvert output"), 0);
}

}  // namespace
}  // namespace kdxtest
