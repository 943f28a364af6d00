// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/private_profile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <pwd.h>

#include "converter/core/request/converter_settings.h"
#include "converter/core/startup/display_check.h"
#include "converter/core/support/log_file.h"
#include "tests/converter/core/test_env.h"

namespace {

TEST(PrivateProfile, ReadsNamesWithoutRegardToCaseAndDropsSpacesAndQuotes) {
  kdxtest::ScratchDir dir;
  std::string ini = dir.File("a.ini");
  std::ofstream(ini) << "; comment\r\n[Other]\r\nDestPath=/wrong\r\n[ convertor ]\r\n  destpath =  \"/v/My Clips\"  \r\n"
                        "ComboDevice = 2\r\nBad=-3x\r\nWord=abc\r\n";
  EXPECT_EQ(GetPrivateProfileString("CONVERTOR", "DestPath", "def", ini), "/v/My Clips");
  EXPECT_EQ(GetPrivateProfileString("CONVERTOR", "Missing", "def", ini), "def");
  EXPECT_EQ(GetPrivateProfileString("Nowhere", "DestPath", "def", ini), "def");
  EXPECT_EQ(GetPrivateProfileInt("CONVERTOR", "ComboDevice", 9, ini), 2);
  EXPECT_EQ(GetPrivateProfileInt("CONVERTOR", "Bad", 9, ini), -3);
  EXPECT_EQ(GetPrivateProfileInt("CONVERTOR", "Word", 9, ini), 0);
  EXPECT_EQ(GetPrivateProfileInt("CONVERTOR", "Missing", 9, ini), 9);
  EXPECT_EQ(GetPrivateProfileInt("CONVERTOR", "ComboDevice", 9, dir.File("none.ini")), 9);
}

TEST(PrivateProfile, WritingKeepsEveryOtherLine) {
  kdxtest::ScratchDir dir;
  std::string ini = dir.File("b.ini");
  std::ofstream(ini) << "; kept\n[A]\nx=1\n\n[B]\ny=2\n";
  EXPECT_TRUE(WritePrivateProfileString("a", "X", "10", ini));   // replaces in place
  EXPECT_TRUE(WritePrivateProfileString("A", "z", "3", ini));    // joins its section
  EXPECT_TRUE(WritePrivateProfileString("C", "w", "4", ini));    // new section at the end
  EXPECT_EQ(kdxtest::ReadFile(ini), "; kept\n[A]\nX=10\nz=3\n\n[B]\ny=2\n[C]\nw=4\n");
  EXPECT_EQ(dir.Listing(), "b.ini\n") << "no temporary file left behind";
}

TEST(PrivateProfile, WritingFollowsTheFilesLineEndsAndCreatesTheFile) {
  kdxtest::ScratchDir dir;
  std::string crlf = dir.File("crlf.ini");
  std::ofstream(crlf) << "[A]\r\nx=1\r\n";
  EXPECT_TRUE(WritePrivateProfileString("A", "y", "2", crlf));
  EXPECT_EQ(kdxtest::ReadFile(crlf), "[A]\r\nx=1\r\ny=2\r\n");

  std::string fresh = dir.File("sub/dir/new.ini");
  EXPECT_TRUE(WritePrivateProfileString("S", "k", "v", fresh));
  EXPECT_EQ(kdxtest::ReadFile(fresh), "[S]\nk=v\n");
}

// The entries of a folder, sorted, each followed by a space.
std::string Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  std::string text;
  for (const std::string& name : names) text += name + " ";
  return text;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  ::stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

TEST(PrivateProfile, WritingThroughLinksReplacesTheirTargetAndKeepsModes) {
  namespace fs = std::filesystem;
  kdxtest::ScratchDir dir;
  fs::create_directories(dir.File("dotfiles"));
  fs::create_directories(dir.File("config"));
  const std::string target = dir.File("dotfiles/NKDXVC.ini");
  std::ofstream(target) << "[CONVERTOR]\nComboDevice=1\n";
  fs::permissions(target, fs::perms(0640));
  // A relative link to a link, as dotfile managers chain them.
  fs::create_symlink("../dotfiles/NKDXVC.ini", dir.File("config/middle.ini"));
  fs::create_symlink("middle.ini", dir.File("config/NKDXVC.ini"));
  const std::string ini = dir.File("config/NKDXVC.ini");
  ASSERT_TRUE(WritePrivateProfileString("CONVERTOR", "ComboDevice", "2", ini));
  EXPECT_TRUE(fs::is_symlink(ini));
  EXPECT_EQ(kdxtest::ReadFile(target), "[CONVERTOR]\nComboDevice=2\n");
  EXPECT_EQ(ModeOf(target), 0640u);
  EXPECT_EQ(Names(dir.File("config")), "NKDXVC.ini middle.ini ");
  EXPECT_EQ(Names(dir.File("dotfiles")), "NKDXVC.ini ");

  // A link whose target is not there yet gets it made.
  fs::create_symlink("fresh.ini", dir.File("config/dangling.ini"));
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "v", dir.File("config/dangling.ini")));
  EXPECT_TRUE(fs::is_symlink(dir.File("config/dangling.ini")));
  EXPECT_EQ(kdxtest::ReadFile(dir.File("config/fresh.ini")), "[S]\nk=v\n");

  // A new file gets the usual mode of new files.
  const mode_t old = ::umask(027);
  EXPECT_TRUE(WritePrivateProfileString("S", "k", "v", dir.File("new.ini")));
  ::umask(old);
  EXPECT_EQ(ModeOf(dir.File("new.ini")), 0640u);

  // Links in a loop name no file: nothing is written.
  fs::create_symlink("loop_b.ini", dir.File("loop_a.ini"));
  fs::create_symlink("loop_a.ini", dir.File("loop_b.ini"));
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", dir.File("loop_a.ini")));
  EXPECT_TRUE(fs::is_symlink(dir.File("loop_a.ini")));
  EXPECT_TRUE(fs::is_symlink(dir.File("loop_b.ini")));
}

TEST(PrivateProfile, RefusesEntriesThatCouldNotBeReadBack) {
  kdxtest::ScratchDir dir;
  std::string ini = dir.File("c.ini");
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "two\nlines", ini));
  EXPECT_FALSE(WritePrivateProfileString("S", "a=b", "v", ini));
  EXPECT_FALSE(WritePrivateProfileString("S]", "k", "v", ini));
  EXPECT_EQ(dir.Listing(), "");
}

TEST(PrivateProfile, ProgramsSavingAtOnceKeepEachOthersKeys) {
  kdxtest::ScratchDir dir;
  const std::string ini = dir.File("shared.ini");
  constexpr int kPrograms = 6;
  constexpr int kSaves = 15;
  std::vector<pid_t> children;
  for (int program = 0; program < kPrograms; ++program) {
    const pid_t child = fork();
    if (child == 0) {
      bool saved = true;
      for (int save = 1; save <= kSaves; ++save) {
        const std::string n = std::to_string(save);
        saved = WritePrivateProfileStrings("P" + std::to_string(program), {{"a", n}, {"b", n}}, ini) && saved;
      }
      _exit(saved ? 0 : 1);
    }
    children.push_back(child);
  }
  for (pid_t child : children) {
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int program = 0; program < kPrograms; ++program) {
    for (const char* key : {"a", "b"})
      EXPECT_EQ(GetPrivateProfileInt("P" + std::to_string(program), key, 0, ini), kSaves) << program << key;
  }
  EXPECT_EQ(dir.Listing(), "shared.ini\n");
}

TEST(PrivateProfile, LocationFollowsTheEnvironment) {
  ScopedEnv home("HOME", "/home/someone");
  ScopedEnv xdg("XDG_CONFIG_HOME", "/xdg");
  {
    ScopedEnv config("NKDX_CONFIG_DIR", "/cfg");
    EXPECT_EQ(ProfileFilePath("NKDXVC.ini"), "/cfg/NKDXVC.ini");
  }
  ScopedEnv noConfig("NKDX_CONFIG_DIR", nullptr);
  EXPECT_EQ(ProfileFilePath("NKDXVC.ini"), "/xdg/NKDXVC.ini");
  ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(SettingsFilePath(), "/home/someone/.config/NKDXVC.ini");
}

TEST(ConverterSettings, StoredValuesComeBackAndAnOutOfRangeModelIsTheFirst) {
  kdxtest::ScratchDir dir;
  std::string ini = dir.File("NKDXVC.ini");
  EXPECT_EQ(LoadComboDevice(ini, 3), 0u);
  EXPECT_EQ(LoadDestPath(ini), "");
  EXPECT_FALSE(LoadAddSilence(ini));
  ASSERT_TRUE(SaveConverterSettings(ini, "/media/videos", 2, true));
  EXPECT_EQ(LoadComboDevice(ini, 3), 2u);
  EXPECT_EQ(LoadComboDevice(ini, 2), 0u);
  EXPECT_EQ(LoadDestPath(ini), "/media/videos");
  EXPECT_TRUE(LoadAddSilence(ini));
  std::ofstream(ini) << "[CONVERTOR]\nComboDevice=-1\n";
  EXPECT_EQ(LoadComboDevice(ini, 3), 0u);
}

TEST(ConverterSettings, DamagedValuesAndOversizedFilesGiveTheDefaults) {
  using namespace std::string_literals;
  struct Case {
    const char* what;
    std::string text;
    size_t comboDevice;  // of 3 models
    const char* destPath;
  } cases[] = {
      {"a number past an int", "[CONVERTOR]\nComboDevice=4294967298\nDestPath=/v\n", 0, "/v"},
      {"a number below an int", "[CONVERTOR]\nComboDevice=-4294967295\n", 0, ""},
      {"NUL characters", "[CONVERTOR]\nComboDevice=1\0 2\nDestPath=/v\0/etc\n"s, 0, ""},
      {"over 1 MB", "[CONVERTOR]\nComboDevice=2\nDestPath=/v\n; " + std::string(1 << 20, 'x') + "\n", 0, ""},
      {"ordinary", "[CONVERTOR]\nComboDevice=2\nDestPath=/v\n", 2, "/v"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchLog log;
    kdxtest::ScratchDir dir;
    const std::string ini = dir.File("NKDXVC.ini");
    std::ofstream(ini, std::ios::binary) << c.text;
    EXPECT_EQ(LoadComboDevice(ini, 3), c.comboDevice);
    EXPECT_EQ(LoadDestPath(ini), c.destPath);
    const bool tooLarge = c.text.size() > (1u << 20);
    // A file that is not read is not rewritten either.
    EXPECT_EQ(SaveConverterSettings(ini, "/w", 1, false), !tooLarge);
    EXPECT_EQ(kdxtest::ReadFile(ini) == c.text, tooLarge);
    EXPECT_EQ(log.Text().find(ini + " is larger than 1 MB: not read, the defaults are used") != std::string::npos,
              tooLarge);
  }
}

TEST(ConverterSettings, TheHomeFolderComesFromThePasswordDatabaseAndTheDisplayIsAskedFor) {
  const struct passwd* user = ::getpwuid(::geteuid());
  ASSERT_NE(user, nullptr);
  const std::string home = user->pw_dir;
  ScopedEnv noConfig("NKDX_CONFIG_DIR", nullptr);
  ScopedEnv noXdg("XDG_CONFIG_HOME", nullptr);
  ScopedEnv noState("XDG_STATE_HOME", nullptr);
  ScopedEnv noLog("NKDX_LOG_FILE", nullptr);
  for (const char* value : {static_cast<const char*>(nullptr), "", "/", "relative"}) {
    SCOPED_TRACE(value != nullptr ? value : "unset");
    ScopedEnv unusable("HOME", value);
    EXPECT_EQ(SettingsFilePath(), home + "/.config/NKDXVC.ini");
    EXPECT_EQ(LogFilePath(), home + "/.local/state/norvik-kdx/Pxrc_log.txt");
  }

  struct Display {
    const char* platform;
    const char* wayland;
    const char* x;
    bool shown;
  } displays[] = {
      {nullptr, nullptr, nullptr, false}, {nullptr, "", "", false},         {nullptr, nullptr, ":0", true},
      {nullptr, "wayland-0", nullptr, true}, {"offscreen", nullptr, nullptr, true}, {"xcb", nullptr, nullptr, false},
      {"wayland", nullptr, ":0", true},
  };
  for (const Display& d : displays) {
    ScopedEnv platform("QT_QPA_PLATFORM", d.platform);
    ScopedEnv wayland("WAYLAND_DISPLAY", d.wayland);
    ScopedEnv x("DISPLAY", d.x);
    EXPECT_EQ(HasDisplay(), d.shown) << (d.platform ? d.platform : "-") << " " << (d.wayland ? d.wayland : "-") << " "
                                     << (d.x ? d.x : "-");
  }
}

}  // namespace
