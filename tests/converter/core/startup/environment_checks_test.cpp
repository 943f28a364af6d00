// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/TesselOSEnvironment.h"

#include <gtest/gtest.h>

#include "tests/converter/core/startup/profile_fixture.h"

namespace {

using Texts = std::vector<std::string>;

const std::string kPlayerKey =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

std::string OsProfile(int platform, int major, int minor) {
  return "[OS]\nPlatformId=" + std::to_string(platform) + "\nMajor=" + std::to_string(major) +
         "\nMinor=" + std::to_string(minor) + "\nBuild=7600\n";
}

TEST(WindowsVersionCode, ClassifiesPlatformAndVersion) {
  struct Case {
    int platform, major, minor, code;
  };
  const Case cases[] = {
      {2, 5, 0, 3}, {2, 5, 1, 4}, {2, 5, 2, 0}, {2, 6, 0, 3}, {2, 6, 1, 4}, {2, 4, 0, 0}, {2, 4, 1, 0},
      {1, 4, 10, 1}, {1, 4, 90, 2}, {1, 4, 0, 0}, {1, 5, 1, 0}, {0, 5, 1, 0},
  };
  for (const Case& c : cases) {
    ScratchLog log;
    ScopedProfile profile(OsProfile(c.platform, c.major, c.minor));
    EXPECT_EQ(TesselOSEnvironment().GetWindowsVersionCode(), c.code)
        << "platform " << c.platform << " version " << c.major << "." << c.minor;
    EXPECT_EQ(LoggedTexts(log), Texts{"Windows Version: Major = " + std::to_string(c.major) + ", Minor = " +
                                      std::to_string(c.minor) + ", BuildNumber = 7600, PlatformId = " +
                                      std::to_string(c.platform)});
  }
}

TEST(WindowsVersionCode, FailedQueryIsMinusOneWithoutALine) {
  ScratchLog log;
  ScopedProfile profile("[OS]\nAvailable=0\n");
  EXPECT_EQ(TesselOSEnvironment().GetWindowsVersionCode(), -1);
  EXPECT_TRUE(LoggedTexts(log).empty());
}

std::string Groups(int fillers, bool administratorsFirst) {
  std::string list = administratorsFirst ? "S-1-5-32-544" : "";
  for (int i = 0; i < fillers; ++i) list += " S-1-5-21-1000-2000-3000-" + std::to_string(1100 + i);
  if (!administratorsFirst) list += " S-1-5-32-544";
  return "[Token]\nGroups=" + list + "\n";
}

TEST(IsAdministrator, FindsTheAdministratorsGroupInTheToken) {
  struct Case {
    std::string profile;
    bool administrator;
  };
  // Each filler takes 44 bytes and the Administrators group 32 of 4096: 92
  // fillers fit, 93 do not, wherever the group stands.
  const Case cases[] = {
      {"[Token]\nGroups=S-1-1-0 S-1-5-32-545 S-1-5-32-544\n", true},
      {"[Token]\nGroups=S-1-1-0 S-1-5-32-545 S-1-5-32-5440\n", false},
      {"[Token]\nGroups=\n", false},
      {"[Token]\nGroups=S-1-5-32-544/deny\n", false},
      {"[Token]\nAvailable=0\n", false},
      {Groups(92, false), true},
      {Groups(93, false), false},
      {Groups(93, true), false},
  };
  for (const Case& c : cases) {
    ScopedProfile profile(c.profile);
    EXPECT_EQ(TesselOSEnvironment().IsAdministrator(), c.administrator) << c.profile.substr(0, 120);
  }
}

TEST(IsIE6OrLater, AnswersFromTheBrowserComponentVersion) {
  struct Case {
    std::string browser;
    bool answer;
    Texts lines;
  };
  const Case cases[] = {
      {"Version=5.50.4807", false, {"IE: v5504807"}},
      {"Version=6.0.2900", true, {"IE: v602900"}},
      {"Version=7.0.5730", true, {"IE: v705730"}},
      {"Library=0", false, {"Error: LoadLibrary shdocvw.dll failed!"}},
      {"Entry=0", false, {"Error: GetProcAddress failed!"}},
      {"Version=", false, {}},
  };
  for (const Case& c : cases) {
    ScratchLog log;
    ScopedProfile profile("[Browser]\n" + c.browser + "\n");
    EXPECT_EQ(TesselOSEnvironment().IsIE6OrLater(), c.answer) << c.browser;
    EXPECT_EQ(LoggedTexts(log), c.lines) << c.browser;
  }
}

TEST(IsWMP10Installed, NeedsXPDriverFilesAndPlayer10Or11) {
  const std::string versionKey = "Error: invalid \"" + kPlayerKey + "\"version key";
  struct Case {
    int code;
    std::string profile;
    bool answer;
    Texts lines;
  };
  const Case cases[] = {
      {4, "", true, {"WMP:v11,0,5721,5145"}},
      {3, "", false, {"Error: Not WinXP"}},
      {4, "[Registry]\n" + kPlayerKey + "\\Version=9,0,0,3250\n", false, {versionKey}},
      {4, "[Registry]\n" + kPlayerKey + "\\Version=10,0,0,3646\n", true, {"WMP:v10,0,0,3646"}},
      {4, "[Registry]\n" + kPlayerKey + "\\Version=11,0,5721,5145\n", true, {"WMP:v11,0,5721,5145"}},
      {4, "[Registry]\n" + kPlayerKey + "\\Version=12,0,7600,16385\n", false, {versionKey}},
      {4, "[Registry]\n" + kPlayerKey + "\\Version=dword:10\n", false, {versionKey}},
      {4, "[Registry]\n" + kPlayerKey + "\\Version=absent\n", false, {}},
      {4, "[Registry]\n" + kPlayerKey + "\\Version=10" + std::string(126, '0') + "\n", false, {}},
      {4, "[Registry]\n" + kPlayerKey + "\\IsInstalled=0\n", false,
       {"Error: invalid \"" + kPlayerKey + "\"IsInstalled key"}},
      {4, "[Registry]\n" + kPlayerKey + "\\IsInstalled=string:1\n", false,
       {"Error: invalid \"" + kPlayerKey + "\"IsInstalled key"}},
      {4, "[Registry]\n" + kPlayerKey + "=absent\n", false,
       {"Error: invalid \"" + kPlayerKey + "\" reg key open "}},
      {4, "[Files]\ninf\\WpdMtp.inf=missing\n", false, {"Error: _access \"inf\\WpdMtp.inf\" failed"}},
      {4, "[Files]\nsystem32\\drivers\\wpdusb.sys=missing\n", false,
       {"Error: _access \"system32\\drivers\\wpdusb.sys\" failed"}},
      {4, "[System]\nWindowsDirectory=\n", false, {"Error: GetWindowsDirectory failed"}},
      {4, "[System]\nWindowsDirectory=C:\\" + std::string(258, 'w') + "\n", false,
       {"Error: GetWindowsDirectory failed"}},
      {4, "[System]\nWindowsDirectory=E:\\Windows\\\n[Files]\ninf\\WpdMtp.inf=present\n", true,
       {"WMP:v11,0,5721,5145"}},
  };
  for (const Case& c : cases) {
    ScratchLog log;
    ScopedProfile profile(c.profile);
    EXPECT_EQ(TesselOSEnvironment().IsWMP10Installed(c.code), c.answer) << c.profile;
    EXPECT_EQ(LoggedTexts(log), c.lines) << c.profile;
  }
}

}  // namespace
