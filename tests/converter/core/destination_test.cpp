// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/destination_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "converter/core/support/path_utils.h"
#include "tests/converter/core/test_env.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

TEST(Destination, MakesTheTargetAndPlayerFolders) {
  kdxtest::ScratchDir dir;
  std::string dest, failure;
  ASSERT_TRUE(GetDestFileName(dir.File("new.target/sub"), "NK-2.0", "clip.kdx", &dest, &failure)) << failure;
  EXPECT_EQ(dest, dir.File("new.target/sub/NK-2.0/clip.kdx"));
  EXPECT_TRUE(fs::is_directory(dir.File("new.target/sub/NK-2.0")));
  EXPECT_FALSE(fs::exists(dest));
  ASSERT_TRUE(GetDestFileName(dir.path() + "/", "NK", "a.kdx", &dest, &failure));
  EXPECT_EQ(dest, dir.File("NK/a.kdx"));
}

TEST(Destination, ReportsFoldersThatCannotBeMade) {
  kdxtest::ScratchDir dir;
  std::ofstream(dir.File("blocker")) << "x";
  std::ofstream(dir.File("NK")) << "x";
  std::string dest = "unchanged", failure;
  EXPECT_FALSE(GetDestFileName(dir.File("blocker/out"), "NK", "a.kdx", &dest, &failure));
  EXPECT_EQ(failure, "Create target folder error! (Not a directory)");
  EXPECT_FALSE(GetDestFileName(dir.path(), "NK", "a.kdx", &dest, &failure));
  EXPECT_EQ(failure, "Create " + dir.File("NK") + " folder error! (Not a directory)");
  EXPECT_EQ(dest, "unchanged");
}

TEST(Destination, AsksBeforeMakingAMissingTargetFolder) {
  kdxtest::ScratchDir dir;
  std::vector<std::string> asked;
  bool answer = false;
  auto confirm = [&](const std::string& folder) {
    asked.push_back(folder);
    return answer;
  };
  std::string dest, failure;
  EXPECT_FALSE(GetDestFileName(dir.File("out"), "NK", "a.kdx", &dest, &failure, confirm));
  EXPECT_EQ(failure, kFolderRefusedText);
  EXPECT_FALSE(fs::exists(dir.File("out")));
  answer = true;
  ASSERT_TRUE(GetDestFileName(dir.File("out"), "NK", "a.kdx", &dest, &failure, confirm));
  EXPECT_EQ(dest, dir.File("out/NK/a.kdx"));
  // An existing target is not asked about again.
  ASSERT_TRUE(GetDestFileName(dir.File("out"), "NK", "a.kdx", &dest, &failure, confirm));
  EXPECT_EQ(asked, (std::vector<std::string>{dir.File("out"), dir.File("out")}));
}

TEST(Destination, TargetFolderAsTypedOrTheDefaultWhereTheUserCanWrite) {
  kdxtest::ScratchDir dir;
  ScopedEnv home("HOME", dir.path().c_str());
  ScopedEnv videos("XDG_VIDEOS_DIR", nullptr);
  ScopedEnv config("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(TargetOrProgramFolder("~/kdx out"), dir.File("kdx out"));
  EXPECT_EQ(TargetOrProgramFolder("~other/kdx"), "~other/kdx");  // another user's home is not guessed
  EXPECT_EQ(TargetOrProgramFolder("kdx"), "kdx");                // the command line's folders may be relative
  EXPECT_EQ(PlayerFolder("", "NK-128"), GetModuleFolder() + "NK-128");  // the build tree is writable
  // An installed program's folder cannot take the files: the videos folder does.
  EXPECT_EQ(DefaultTargetFolder(dir.File("missing/bin/")), dir.File("Videos"));
  EXPECT_EQ(DefaultTargetFolder(dir.path() + "/"), dir.path());
}

}  // namespace
