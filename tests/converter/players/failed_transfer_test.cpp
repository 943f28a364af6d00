// SPDX-License-Identifier: GPL-2.0-or-later
// Transfers to a player that cannot take the file, on real mounts over a
// fixture machine's player: a full volume, a read-only one, one pulled out
// in the middle of the copy, names FAT refuses and files FAT cannot hold.
// Mounting needs root; without it, or where mounting is refused, the test
// is skipped.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#include "tests/support/fixture_machine.h"
#include "converter/players/player_detection.h"
#include "tests/converter/players/player_test_doubles.h"
#include "tests/support/scoped_mount.h"
#include "tests/converter/core/test_env.h"

namespace {

namespace fs = std::filesystem;
using kdxtest::ScopedMount;

const std::string kOlder = "older copy";

bool HasTemporary(const std::string& folder) {
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().front() == '.') return true;
  }
  return false;
}

// The player's own storage is a tmpfs at `storage_`, bind-mounted on the
// mount point the fixture's mount table lists as a FAT volume.
class FailedTransfer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::geteuid() != 0) GTEST_SKIP() << "mounting needs root";
    LoadPlayerTable(dir_, table_);
    mountPoint_ = machine_.Mount(machine_.AddUsbDisk({}), "PLAYER");
    storage_ = dir_.File("storage");
    fs::create_directory(storage_);
    tmpfs_.emplace("kdxplayer", storage_, "tmpfs", 0, "size=8g");
    if (!tmpfs_->mounted()) GTEST_SKIP() << "tmpfs cannot be mounted here";
    Attach();
    fs::create_directories(storage_ + "/VIDEO");
    source_ = dir_.File("clip.kdx");
    std::ofstream(source_) << std::string(2048, 'k');
  }
  void TearDown() override {
    bind_.reset();
    tmpfs_.reset();
  }
  void Attach() { bind_.emplace(storage_, mountPoint_, nullptr, MS_BIND, nullptr); }

  // Transfers through the window's path with the transfer option ticked.
  TransferOutcome Transfer(const std::string& path) {
    PlayerDetection detection(table_, PlayerSupport{true, false}, nullptr, window_, warnings_);
    detection.DetectAtStart();
    EXPECT_TRUE(window_.transferTicked);
    return detection.TransferOutputFile(0, path);
  }

  ScratchLog log_;
  kdxtest::ScratchDir dir_;
  kdxtest::FixtureMachine machine_;
  CTesselConfigFile table_;
  RecordingPlayerWindow window_;
  RecordingWarnings warnings_;
  std::string mountPoint_;
  std::string storage_;
  std::string source_;
  std::optional<ScopedMount> tmpfs_;
  std::optional<ScopedMount> bind_;
};

TEST_F(FailedTransfer, TheOlderCopySurvivesNoTemporaryStaysAndTheWindowIsTold) {
  struct Case {
    const char* what;
    std::string file;                            // the name on the player
    std::function<std::string()> prepare;        // makes the failure, gives the file to send
    const char* reason;                          // start of the reason the user reads
  };
  std::thread writer;
  const Case cases[] = {
      {"full", "clip.kdx",
       [&] {
         if (!tmpfs_->Remount(0, "size=64k")) return std::string();
         std::ofstream filler(storage_ + "/filler", std::ios::binary);
         const std::string block(4096, 'f');
         while (filler.write(block.data(), static_cast<std::streamsize>(block.size())).flush()) {
         }
         return source_;
       },
       "The player is full"},
      {"read-only", "clip.kdx", [&] { return bind_->MakeReadOnly() ? source_ : std::string(); },
       "The player is read-only (Read-only file system)."},
      {"pulled out mid-copy", "pipe.kdx",
       [&] {
         // The copy reads a pipe, which opens once the temporary file is
         // made; the player goes while the data flows.
         std::string pipe = dir_.File("pipe.kdx");
         ::mkfifo(pipe.c_str(), 0600);
         writer = std::thread([this, pipe] {
           int fd = ::open(pipe.c_str(), O_WRONLY | O_CLOEXEC);
           std::string half(4096, 'n');
           (void)!::write(fd, half.data(), half.size());
           bind_->Detach();
           (void)!::write(fd, half.data(), half.size());
           ::close(fd);
         });
         return pipe;
       },
       "The player was disconnected"},
      {"4 GiB on FAT", "clip.kdx",
       [&] {
         fs::resize_file(source_, (uint64_t{1} << 32));  // sparse
         return source_;
       },
       "The file is 4 GiB or larger"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(storage_ + "/VIDEO/" + c.file) << kOlder;
    const std::string sent = c.prepare();
    ASSERT_FALSE(sent.empty());
    window_.statusTexts.clear();
    const TransferOutcome outcome = Transfer(sent);
    if (writer.joinable()) writer.join();
    EXPECT_TRUE(outcome.attempted);
    EXPECT_FALSE(outcome.copied);
    EXPECT_EQ(outcome.reason.rfind(c.reason, 0), 0u) << outcome.reason;
    EXPECT_EQ(window_.status(), "Transfer output video file to player failed!");
    EXPECT_NE(log_.Text().find("**TransferOutputFile** " + sent + " not copied to NK-128: " + outcome.reason),
              std::string::npos);
    EXPECT_EQ(kdxtest::ReadFile(storage_ + "/VIDEO/" + c.file), kOlder);

    // Put right, the player takes the next file; what the failure left goes.
    fs::remove(storage_ + "/filler");
    ASSERT_TRUE(tmpfs_->Remount(0, "size=8g"));
    fs::resize_file(source_, 2048);
    Attach();
    const TransferOutcome next = Transfer(source_);
    EXPECT_TRUE(next.copied) << next.reason;
    EXPECT_EQ(kdxtest::ReadFile(storage_ + "/VIDEO/clip.kdx"), std::string(2048, 'k'));
    EXPECT_FALSE(HasTemporary(storage_ + "/VIDEO"));
  }
  ASSERT_EQ(warnings_.shown.size(), 1u) << "the full player is also warned of";
}

TEST_F(FailedTransfer, NamesFatRefusesAreReplacedTheSameWayEachTime) {
  const std::string source = dir_.File("Part 1: \"Why?\" <a|b>*.kdx");
  std::ofstream(source) << "new";
  std::ofstream(storage_ + "/VIDEO/Part 1_ _Why__ _a_b__.kdx") << kOlder;
  EXPECT_TRUE(Transfer(source).copied);
  EXPECT_TRUE(Transfer(source).copied);
  EXPECT_EQ(kdxtest::ReadFile(storage_ + "/VIDEO/Part 1_ _Why__ _a_b__.kdx"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(storage_ + "/VIDEO"), fs::directory_iterator()), 1);
}

}  // namespace
