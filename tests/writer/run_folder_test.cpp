#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "kdx_test_files.h"
#include "test_paths.h"
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
  EXPECT_TRUE(folder.path().empty());
  if (geteuid() != 0) {  // root writes into read-only folders anyway
    ASSERT_EQ(chmod(dir.path().c_str(), 0500), 0);
    EXPECT_FALSE(folder.Create(dir.File("movie.kdx")));
    chmod(dir.path().c_str(), 0700);
  }
}

}  // namespace
