// SPDX-License-Identifier: GPL-2.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "platform/players/player_file_copy.h"
#include "tests/support/test_paths.h"

namespace {

namespace fs = std::filesystem;

// A player volume (a folder standing for its mount point), a folder beside
// it that is not on the player, and the converted file.
struct Player {
  kdxtest::ScratchDir dir;
  std::string root = dir.File("PLAYER");
  std::string outside = dir.File("HOME");
  std::string source = dir.File("clip.kdx");

  int held = -1;  // a lock another copy holds

  Player() {
    fs::create_directories(root + "/VIDEO");
    fs::create_directories(outside);
    std::ofstream(outside + "/keep.txt") << "the user's own";
  }
  ~Player() {
    if (held >= 0) ::close(held);
  }
  void Write(const std::string& relative, const std::string& text) const { std::ofstream(root + "/" + relative) << text; }
  bool Copy(const std::string& source, int* error) const {
    return CopyToPlayerFolder(source, root, root + "/VIDEO", "vfat", error);
  }
};

// Every entry below the folder, with its path from there; links are listed,
// not entered.
std::string Tree(const std::string& folder) {
  std::set<std::string> names;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it)
    names.insert(it->path().lexically_relative(folder).string() + (it->is_symlink() ? "@" : ""));
  std::string tree;
  for (const std::string& name : names) tree += name + " ";
  return tree;
}

struct FolderCase {
  const char* name;
  std::function<void(Player&)> before;
  // Runs while the copy stands between its first and last byte.
  std::function<void(Player&)> during;
  int error;  // 0: copied
  const char* player;
  const char* outside;
};

TEST(PlayerFolder, RemovesOnlyItsOwnDeadCopiesAndWritesNowhereButThePlayer) {
  const FolderCase cases[] = {
      {"leftovers of a killed copy go, files that only look like ours stay",
       [](Player& p) {
         p.Write("VIDEO/.kdx-copy-Dead01", "killed half way");
         p.Write("VIDEO/.holiday.kdx.backup", "the user's");
         p.Write("VIDEO/.trip.kdx.Ab12Cd", "the user's");
         fs::create_symlink(p.outside + "/keep.txt", p.root + "/VIDEO/.kdx-copy-Link01");
       },
       nullptr, 0, "VIDEO VIDEO/.holiday.kdx.backup VIDEO/.kdx-copy-Link01@ VIDEO/.trip.kdx.Ab12Cd VIDEO/clip.kdx ",
       "keep.txt "},
      {"the temporary of a copy still running stays",
       [](Player& p) {
         p.Write("VIDEO/.kdx-copy-Live01", "being written");
         p.held = ::open((p.root + "/VIDEO/.kdx-copy-Live01").c_str(), O_RDONLY | O_CLOEXEC);
         ASSERT_EQ(::flock(p.held, LOCK_EX), 0);
       },
       nullptr, 0, "VIDEO VIDEO/.kdx-copy-Live01 VIDEO/clip.kdx ", "keep.txt "},
      {"two copies into one folder at once both succeed", nullptr,
       [](Player& p) {
         std::ofstream(p.dir.File("other.kdx")) << "the other file";
         int error = 0;
         EXPECT_TRUE(p.Copy(p.dir.File("other.kdx"), &error)) << std::strerror(error);
       },
       0, "VIDEO VIDEO/clip.kdx VIDEO/other.kdx ", "keep.txt "},
      {"a target folder linked to a folder on the player is used",
       [](Player& p) {
         fs::remove(p.root + "/VIDEO");
         fs::create_directory(p.root + "/Films");
         fs::create_directory_symlink("Films", p.root + "/VIDEO");
       },
       nullptr, 0, "Films Films/clip.kdx VIDEO@ ", "keep.txt "},
      {"a target folder linked off the player is not followed",
       [](Player& p) {
         fs::remove(p.root + "/VIDEO");
         fs::create_directory_symlink(p.outside, p.root + "/VIDEO");
       },
       nullptr, EXDEV, "VIDEO@ ", "keep.txt "},
      {"a target folder swapped for a link during the copy keeps nothing behind", nullptr,
       [](Player& p) {
         fs::rename(p.root + "/VIDEO", p.root + "/MOVED");
         fs::create_directory_symlink(p.outside, p.root + "/VIDEO");
       },
       ENOENT, "MOVED VIDEO@ ", "keep.txt "},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.name);
    Player player;
    if (c.before) c.before(player);
    int error = 0;
    bool copied = false;
    if (!c.during) {
      std::ofstream(player.source) << "converted";
      copied = player.Copy(player.source, &error);
    } else {
      // The copy reads from a pipe, so the test decides when its last byte comes.
      ASSERT_EQ(::mkfifo(player.source.c_str(), 0600), 0);
      std::thread copy([&] { copied = player.Copy(player.source, &error); });
      const int feed = ::open(player.source.c_str(), O_WRONLY | O_CLOEXEC);
      ASSERT_EQ(::write(feed, "conv", 4), 4);
      c.during(player);
      ASSERT_EQ(::write(feed, "erted", 5), 5);
      ::close(feed);
      copy.join();
    }
    EXPECT_EQ(copied, c.error == 0);
    EXPECT_EQ(error, c.error) << std::strerror(error);
    EXPECT_EQ(Tree(player.root), c.player);
    EXPECT_EQ(Tree(player.outside), c.outside);
    EXPECT_EQ(kdxtest::ReadFile(player.outside + "/keep.txt"), "the user's own");
  }
}

}  // namespace
