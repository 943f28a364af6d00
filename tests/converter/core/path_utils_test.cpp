// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/path_utils.h"
#include "converter/core/support/printable_text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

TEST(CreateDirectoryTree, MakesEveryMissingFolderAndAcceptsExistingOnes) {
  kdxtest::ScratchDir dir;
  int error = 0;
  EXPECT_TRUE(CreateDirectoryTree(dir.File("Out/Clips/"), &error));
  EXPECT_TRUE(fs::is_directory(dir.File("Out/Clips")));
  EXPECT_TRUE(CreateDirectoryTree(dir.File("Out/Clips/"), &error));
  EXPECT_TRUE(CreateDirectoryTree(dir.File("Out/Clips"), &error));
  EXPECT_EQ(dir.Listing(), "Out\n");
}

TEST(CreateDirectoryTree, LastPartWithExtensionIsAFileName) {
  kdxtest::ScratchDir dir;
  int error = 0;
  EXPECT_TRUE(CreateDirectoryTree(dir.File("Out/movie.kdx"), &error));
  EXPECT_TRUE(fs::is_directory(dir.File("Out")));
  EXPECT_FALSE(fs::exists(dir.File("Out/movie.kdx")));
  // Ending in a separator makes the dotted name a folder.
  EXPECT_TRUE(CreateDirectoryTree(dir.File("Out/clips.2024/"), &error));
  EXPECT_TRUE(fs::is_directory(dir.File("Out/clips.2024")));
}

TEST(CreateDirectoryTree, DottedFoldersInTheMiddleAreCreated) {
  kdxtest::ScratchDir dir;
  int error = 0;
  EXPECT_TRUE(CreateDirectoryTree(dir.File("my.videos/kdx/clip.kdx"), &error));
  EXPECT_TRUE(fs::is_directory(dir.File("my.videos/kdx")));
}

TEST(CreateDirectoryTree, StopsAtAFileInThePathWithItsError) {
  kdxtest::ScratchDir dir;
  std::ofstream(dir.File("plain.txt")) << "x";
  std::ofstream(dir.File("noext")) << "x";
  int error = 0;
  EXPECT_FALSE(CreateDirectoryTree(dir.File("plain.txt/sub/deeper/"), &error));
  EXPECT_EQ(error, ENOTDIR);
  error = 0;
  EXPECT_FALSE(CreateDirectoryTree(dir.File("noext/sub/"), &error));
  EXPECT_EQ(error, ENOTDIR);
  error = 0;
  EXPECT_FALSE(CreateDirectoryTree(dir.File("noext/"), &error));
  EXPECT_EQ(error, ENOTDIR);
  EXPECT_FALSE(CreateDirectoryTree("", &error));
}

TEST(PathUtils, IsFilePathLooksAtTheDiskFirstThenAtTheName) {
  kdxtest::ScratchDir dir;
  fs::create_directory(dir.File("folder.d"));
  std::ofstream(dir.File("plain")) << "x";
  EXPECT_FALSE(IsFilePath(dir.File("folder.d")));
  EXPECT_TRUE(IsFilePath(dir.File("plain")));
  EXPECT_TRUE(IsFilePath(dir.File("missing.avi")));
  EXPECT_FALSE(IsFilePath(dir.File("missing")));
  EXPECT_FALSE(IsFilePath(dir.File("missing.d/")));
  EXPECT_TRUE(IsFilePath("relative"));
  EXPECT_TRUE(IsExistingDriveRoot("/"));
  EXPECT_FALSE(IsExistingDriveRoot(dir.path()));
  EXPECT_FALSE(IsExistingDriveRoot(""));
}

TEST(PathUtils, NameParts) {
  EXPECT_EQ(GetFileName("/v/clip.part1.avi"), "clip.part1.avi");
  EXPECT_EQ(GetFileName("clip.avi"), "clip.avi");
  EXPECT_EQ(GetFileName("/v/"), "");
  EXPECT_EQ(GetFileBaseName("/v/clip.part1.avi"), "clip.part1");
  EXPECT_EQ(GetFileBaseName("/v/.hidden"), ".hidden");
  EXPECT_EQ(GetFileBaseName("/v/noext"), "noext");
  EXPECT_EQ(GetFileBaseName("/v/"), "");
  EXPECT_EQ(GetFileExtension("/v.d/noext"), "d/noext");
  EXPECT_EQ(GetFileExtension("/v/noext"), "");
  EXPECT_EQ(GetFileExtension("/v/clip.MP4"), "MP4");
}

TEST(PathUtils, FileSizeIsTheLow32BitsOrAllOnes) {
  kdxtest::ScratchDir dir;
  EXPECT_EQ(GetFileSizeOf(dir.File("missing")), 0xFFFFFFFFu);
  EXPECT_EQ(GetFileSizeOf(dir.path()), 0xFFFFFFFFu);
  std::ofstream(dir.File("five")) << "12345";
  EXPECT_EQ(GetFileSizeOf(dir.File("five")), 5u);
  // A sparse 5 GiB file takes no room on disk.
  ASSERT_EQ(::truncate((dir.File("five")).c_str(), 5LL << 30), 0);
  EXPECT_EQ(GetFileSizeOf(dir.File("five")), 1u << 30);
}

TEST(PathUtils, ModuleFolderIsTheProgramsFolder) {
  std::string folder = GetModuleFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(fs::equivalent(folder, fs::path(kdxtest::BinPath("converter_tests")).parent_path()));
  EXPECT_EQ(GetModuleFolder(), folder);
}

// The data files lie beside the program in the build tree and under
// share/norvik-kdx after installation; the device table tells which.
TEST(PathUtils, DataFolderIsWhereTheDeviceTableLies) {
  kdxtest::ScratchDir dir;
  std::string program = dir.File("usr/bin/");
  std::string installed = dir.File("usr/share/norvik-kdx/");
  fs::create_directories(program);
  fs::create_directories(installed);
  EXPECT_EQ(FindDataFolder(program), program);

  // A folder of the table's name is no table.
  fs::create_directories(installed + kDeviceTableFileName);
  EXPECT_EQ(FindDataFolder(program), program);
  fs::remove(installed + kDeviceTableFileName);

  std::ofstream(installed + kDeviceTableFileName) << "<TesselDeviceConfig/>";
  EXPECT_EQ(FindDataFolder(program), installed);
  std::ofstream(program + kDeviceTableFileName) << "<TesselDeviceConfig/>";
  EXPECT_EQ(FindDataFolder(program), program);
  EXPECT_EQ(FindDataFolder(""), "");
}

TEST(PathUtils, BuiltProgramsFindTheirDataBesideThem) {
  EXPECT_EQ(GetDataFolder(), GetModuleFolder());
  EXPECT_TRUE(fs::is_regular_file(GetDataFolder() + kDeviceTableFileName));
}

TEST(PathUtils, CopyIfNotEmptyCopiesBoundedWholeCharacters) {
  char buffer[8] = "keep";
  EXPECT_EQ(CopyIfNotEmpty(buffer, "", sizeof buffer), nullptr);
  EXPECT_EQ(CopyIfNotEmpty(buffer, nullptr, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "keep");
  EXPECT_EQ(CopyIfNotEmpty(buffer, "abcdefghij", sizeof buffer), buffer);
  EXPECT_STREQ(buffer, "abcdefg");
  // "abcdef" then a two-byte letter: the letter would be cut, so it is left out.
  EXPECT_EQ(CopyIfNotEmpty(buffer, "abcdef\xC3\xBCz", sizeof buffer), buffer);
  EXPECT_STREQ(buffer, "abcdef");
  EXPECT_EQ(CopyIfNotEmpty(buffer, "abcde\xC3\xBCz", sizeof buffer), buffer);
  EXPECT_STREQ(buffer, "abcde\xC3\xBC");
}

TEST(PathUtils, AnsiToWideDecodesUtf8AndRejectsMalformedText) {
  std::wstring wide = L"untouched";
  EXPECT_EQ(AnsiToWide("Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x8E\xAC", &wide), S_OK);
  EXPECT_EQ(wide, L"Gr\u00FC\u00DFe \U0001F3AC");
  wide = L"untouched";
  const HRESULT noTranslation = static_cast<HRESULT>(0x80070459u);
  EXPECT_EQ(AnsiToWide("bad \xC3", &wide), noTranslation);           // cut short
  EXPECT_EQ(AnsiToWide("bad \xE0\x80\xAF", &wide), noTranslation);   // overlong '/'
  EXPECT_EQ(AnsiToWide("bad \xED\xA0\x80", &wide), noTranslation);   // surrogate
  EXPECT_EQ(wide, L"untouched");
  EXPECT_EQ(AnsiToWide(nullptr, &wide), E_INVALIDARG);
  EXPECT_EQ(AnsiToWide("x", nullptr), E_INVALIDARG);
}

TEST(PrintableText, NamesStayOnOneLineAndCannotSteerTheTerminal) {
  const std::pair<std::string, std::string> cases[] = {
      {"holiday.mp4", "holiday.mp4"},
      {"f\xC3\xA9te \xE6\x97\xA5\xE6\x9C\xAC.mkv", "f\xC3\xA9te \xE6\x97\xA5\xE6\x9C\xAC.mkv"},  // UTF-8 stays
      {"two\nlines.avi\r", "two\\nlines.avi\\r"},
      {"tab\there", "tab\\there"},
      {"\x1b[2Jcleared.avi", "\\x1b[2Jcleared.avi"},
      {"latin1 caf\xE9.avi", "latin1 caf\\xe9.avi"},
      {"cut \xE6\x97", "cut \\xe6\\x97"},
      {"overlong \xC0\xAF", "overlong \\xc0\\xaf"},
      {"surrogate \xED\xA0\x80", "surrogate \\xed\\xa0\\x80"},
      {"c1 \xC2\x9B", "c1 \\xc2\\x9b"},
      {std::string("nul\0in", 6), "nul\\x00in"},
  };
  for (const auto& [name, printed] : cases) EXPECT_EQ(PrintableText(name), printed);
}

}  // namespace
