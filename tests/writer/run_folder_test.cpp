// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "tests/writer/kdx_test_files.h"
#include "tests/support/test_paths.h"
#include "writer/run_folder.h"

namespace {

namespace fs = std::filesystem;

TEST(RunFolder, MakesAHiddenFolderBesideTheDestinationAndRemovesAll) {
  kdxtest::ScratchDir dir;
  kdx::RunFolder folder;
  ASSERT_TRUE(folder.Create(dir.File("movie.kdx")));
  EXPECT_EQ(fs::path(folder.path()).parent_path(), fs::path(dir.path()));
  EXPECT_EQ(fs::path(folder.path()).filename().string().rfind(".kdx-", 0), 0u);
  EXPECT_EQ(folder.VideoPath(), folder.path() + "/.video");

  kdxtest::WriteBytes(folder.VideoPath(), {4, 5, 6});
  folder.Remove();
  EXPECT_EQ(dir.Listing(), "");
  EXPECT_TRUE(folder.path().empty());
  folder.Remove();  // a second call is harmless
}

TEST(RunFolder, GoesAwayWithItsOwner) {
  kdxtest::ScratchDir dir;
  {
    kdx::RunFolder folder;
    ASSERT_TRUE(folder.Create(dir.File("movie.kdx")));
    kdxtest::WriteBytes(folder.VideoPath(), {4, 5, 6});
  }
  EXPECT_EQ(dir.Listing(), "");
}

TEST(RunFolder, TwoRunsForOneDestinationDoNotShare) {
  kdxtest::ScratchDir dir;
  kdx::RunFolder first;
  kdx::RunFolder second;
  ASSERT_TRUE(first.Create(dir.File("movie.kdx")));
  ASSERT_TRUE(second.Create(dir.File("movie.kdx")));
  EXPECT_NE(first.path(), second.path());
  EXPECT_TRUE(fs::is_directory(first.path()));  // its run is alive
}

TEST(RunFolder, NewRunRemovesOnlyTheFoldersOfRunsThatAreGone) {
  kdxtest::ScratchDir dir;
  kdx::RunFolder live;
  ASSERT_TRUE(live.Create(dir.File("live.kdx")));
  kdxtest::WriteBytes(live.VideoPath(), {1});
  // A killed run: its files and an unlocked lock file.
  fs::create_directory(dir.File(".kdx-Killed"));
  for (const char* name : {".lock", ".video", ".kdx"}) kdxtest::WriteBytes(dir.File(".kdx-Killed/") + name, {7});
  // Killed while its folder was being made: empty, no lock file yet.
  fs::create_directory(dir.File(".kdx-Unborn"));
  // Not a run's folder: foreign content, or a name mkdtemp never makes.
  fs::create_directory(dir.File(".kdx-Others"));
  kdxtest::WriteBytes(dir.File(".kdx-Others/notes.txt"), {1});
  fs::create_directory(dir.File(".kdx-LongerName"));
  kdxtest::WriteBytes(dir.File(".kdx-AFile1"), {1});

  kdx::RunFolder next;
  ASSERT_TRUE(next.Create(dir.File("next.kdx")));
  const std::string liveName = fs::path(live.path()).filename().string();
  const std::string nextName = fs::path(next.path()).filename().string();
  std::set<std::string> expected = {".kdx-Others", ".kdx-LongerName", ".kdx-AFile1", liveName, nextName};
  std::set<std::string> listed;
  for (const auto& entry : fs::directory_iterator(dir.path())) listed.insert(entry.path().filename().string());
  EXPECT_EQ(listed, expected);
  EXPECT_TRUE(fs::exists(live.VideoPath()));
}

TEST(RunFolder, AssembledFileTakesTheDestinationNameOnlyOverTheAgreedFile) {
  using Move = kdx::RunFolder::Move;
  kdxtest::ScratchDir dir;
  const std::string destination = dir.File("movie.kdx");
  kdx::RunFolder folder;
  ASSERT_TRUE(folder.Create(destination));
  EXPECT_EQ(folder.MoveKdxTo(std::nullopt), Move::kFailed);  // nothing assembled yet
  EXPECT_EQ(folder.Error(), ENOENT);
  EXPECT_FALSE(fs::exists(destination));
  kdxtest::WriteBytes(folder.KdxPath(), {1, 2, 3});
  // A file that took the name after the run began is not replaced.
  kdxtest::WriteBytes(destination, {9, 9, 9, 9});
  EXPECT_FALSE(folder.DestinationIsFree(std::nullopt));
  EXPECT_EQ(folder.MoveKdxTo(std::nullopt), Move::kTaken);
  EXPECT_EQ(kdxtest::ReadFile(destination), std::string("\11\11\11\11"));
  // The file the caller agreed to replace is.
  const std::optional<kdx::FileIdentity> agreed = kdx::IdentityOf(destination, false);
  EXPECT_TRUE(folder.DestinationIsFree(agreed));
  ASSERT_EQ(folder.MoveKdxTo(agreed), Move::kDone);
  EXPECT_EQ(kdxtest::ReadFile(destination), std::string("\1\2\3"));
  folder.Remove();
  EXPECT_EQ(dir.Listing(), "movie.kdx\n");
}

TEST(RunFolder, RelativeDestinationUsesTheCurrentDirectory) {
  kdxtest::ScratchDir dir;
  const fs::path before = fs::current_path();
  fs::current_path(dir.path());
  kdx::RunFolder folder;
  const bool created = folder.Create("movie.kdx");
  const std::string path = folder.path();
  folder.Remove();
  fs::current_path(before);
  ASSERT_TRUE(created);
  EXPECT_EQ(fs::path(path).parent_path(), fs::path("."));
}

TEST(RunFolder, FailsWhereNoFolderCanBeMade) {
  kdxtest::ScratchDir dir;
  kdx::RunFolder folder;
  EXPECT_FALSE(folder.Create(dir.File("missing/movie.kdx")));
  EXPECT_EQ(folder.Error(), ENOENT);
  EXPECT_TRUE(folder.path().empty());
  if (geteuid() != 0) {  // root writes into read-only folders anyway
    ASSERT_EQ(chmod(dir.path().c_str(), 0500), 0);
    EXPECT_FALSE(folder.Create(dir.File("movie.kdx")));
    chmod(dir.path().c_str(), 0700);
  }
}

}  // namespace
