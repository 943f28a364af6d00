// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/compat_profile.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "converter/core/startup/TesselOSEnvironment.h"
#include "tests/converter/core/startup/profile_fixture.h"
#include "platform/base/security_token.h"

namespace {

const char kPlayerKey[] =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

bool HasGroup(const std::vector<TokenGroup>& groups, const std::string& sid) {
  return std::any_of(groups.begin(), groups.end(), [&](const TokenGroup& group) { return group.sid == sid; });
}

// The rest of the built-in system shows in the checks' and the gate's tests.
TEST(CompatProfile, WithoutAProfileAnswersOnlyWellFormedQuestions) {
  ScopedEnv noProfile("NKDX_COMPAT_PROFILE", nullptr);
  compat::DLLVERSIONINFO browser{sizeof(compat::DLLVERSIONINFO), 0, 0, 0, 0};
  ASSERT_EQ(compat::QueryBrowserComponentVersion(&browser), compat::BrowserComponentAnswer::kAnswered);
  EXPECT_EQ(browser.dwMajorVersion, 6u);
  browser.cbSize = 16;
  EXPECT_EQ(compat::QueryBrowserComponentVersion(&browser), compat::BrowserComponentAnswer::kCallFailed);
  EXPECT_FALSE(compat::SystemFileExists(compat::WindowsDirectory() + "\\system32\\nothing.dll"));
  EXPECT_EQ(compat::QueryDiagnosticsProperty("DxDiag_SystemInfo", "dwDirectXVersionMajor")->dword, 9u);
  EXPECT_FALSE(compat::QueryDiagnosticsProperty("DxDiag_DisplayDevices", "dwDirectXVersionMajor"));
}

TEST(CompatProfile, EntriesOverrideOnlyWhatTheyName) {
  ScopedProfile profile(
      "[OS]\nMinor=2\n"
      "[System]\nWindowsDirectory=D:\\WinNT\n"
      "[Files]\nSYSTEM32\\DDRAW.DLL=4.8.1.881\nsystem32\\d3d9.dll=missing\nsystem32\\d3d8.dll=nofixedinfo\n"
      "[Registry]\n" + std::string(kPlayerKey) + "\\IsInstalled=dword:0x0\n" +
      std::string(kPlayerKey) + "\\Version=absent\nSoftware\\Extra=present\n");
  EXPECT_EQ(compat::QueryOsVersion()->major, 5u);
  EXPECT_EQ(compat::QueryOsVersion()->minor, 2u);

  uint32_t high = 0, low = 0;
  // Either separator and any letter case name the same file.
  ASSERT_EQ(compat::QueryFileVersionResource("d:/winnt/system32/ddraw.dll", &high, &low),
            compat::FileVersionAnswer::kAnswered);
  EXPECT_EQ(high, 0x00040008u);
  EXPECT_EQ(low, 0x00010371u);
  EXPECT_EQ(compat::QueryFileVersionResource("D:\\WinNT\\system32\\d3d8.dll", &high, &low),
            compat::FileVersionAnswer::kNoFixedFileInfo);
  EXPECT_FALSE(compat::SystemFileExists("D:\\WinNT\\system32\\d3d9.dll"));
  EXPECT_TRUE(compat::SystemFileExists("D:\\WinNT\\system32\\dpnet.dll")) << "built-in files stay";

  EXPECT_FALSE(compat::ParseTypedValue("dword:4294967296", false)) << "too large for a double word";
  std::optional<compat::TypedValue> installed = compat::QueryRegistryValue(kPlayerKey, "IsInstalled");
  ASSERT_TRUE(installed);
  EXPECT_EQ(installed->type, compat::TypedValue::Type::kDword);
  EXPECT_EQ(installed->dword, 0u);
  EXPECT_FALSE(compat::QueryRegistryValue(kPlayerKey, "Version"));
  EXPECT_TRUE(compat::RegistryKeyExists("software\\extra"));
  EXPECT_FALSE(compat::RegistryKeyExists("Software\\Missing"));
}

TEST(CompatProfile, RemovedRegistryKeyTakesItsValuesAlong) {
  ScopedProfile profile("[Registry]\n" + std::string(kPlayerKey) + "=absent\n");
  EXPECT_FALSE(compat::RegistryKeyExists(kPlayerKey));
  EXPECT_FALSE(compat::QueryRegistryValue(kPlayerKey, "IsInstalled"));
}

TEST(SecurityToken, SidsFromText) {
  std::optional<std::vector<uint8_t>> administrators = SidFromString("S-1-5-32-544");
  ASSERT_TRUE(administrators);
  std::vector<uint8_t> built = MakeSid(SECURITY_NT_AUTHORITY, {SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS});
  EXPECT_EQ(*administrators, built);
  EXPECT_EQ(SidLength(reinterpret_cast<const SID*>(built.data())), 16u);
  EXPECT_FALSE(EqualSid(reinterpret_cast<const SID*>(built.data()),
                        reinterpret_cast<const SID*>(SidFromString("S-1-5-32-545")->data())));
  for (const char* bad : {"", "S-1", "S-2-5-32", "S-1-5-32-", "X-1-5-32", "S-1-5-x", "S-1-5-4294967296",
                          "S-1-5-1-2-3-4-5-6-7-8-9-10-11-12-13-14-15-16"}) {
    EXPECT_FALSE(SidFromString(bad)) << bad;
  }
}

TEST(SecurityToken, BuiltInGroupsGiveEveryUserAdministratorsAndOnlyAProfileTakesThemAway) {
  ScopedEnv noProfile("NKDX_COMPAT_PROFILE", nullptr);
  std::vector<TokenGroup> groups = RealTokenGroups();
  EXPECT_TRUE(HasGroup(groups, "S-1-5-32-544"));
  EXPECT_TRUE(HasGroup(groups, "S-1-22-2-" + std::to_string(::getegid())));
  EXPECT_TRUE(TesselOSEnvironment().IsAdministrator());
  ScopedProfile profile("[Token]\nGroups=S-1-1-0 S-1-5-32-545\n");
  EXPECT_FALSE(TesselOSEnvironment().IsAdministrator());
}

TEST(SecurityToken, GroupListLaidOutOrRefusedWhenTooLong) {
  ScopedProfile profile("[Token]\nGroups=S-1-1-0, S-1-5-32-544/deny not-a-sid S-1-5-32-545\n");
  alignas(TOKEN_GROUPS) uint8_t buffer[256];
  uint32_t needed = 0;
  ASSERT_TRUE(GetProcessTokenGroups(buffer, sizeof buffer, &needed));
  const auto* list = reinterpret_cast<const TOKEN_GROUPS*>(buffer);
  ASSERT_EQ(list->GroupCount, 3u) << "the misspelled group is left out";
  const SID_AND_ATTRIBUTES* groups = list->Groups;
  EXPECT_EQ(groups[1].Attributes, SE_GROUP_USE_FOR_DENY_ONLY);
  EXPECT_NE(groups[2].Attributes & SE_GROUP_ENABLED, 0u);
  EXPECT_TRUE(EqualSid(groups[2].Sid, reinterpret_cast<const SID*>(SidFromString("S-1-5-32-545")->data())));
  EXPECT_GE(reinterpret_cast<const uint8_t*>(groups[0].Sid), reinterpret_cast<const uint8_t*>(groups + 3));
  EXPECT_LE(needed, sizeof buffer);

  EXPECT_FALSE(GetProcessTokenGroups(buffer, needed - 1, &needed));
  EXPECT_GT(needed, 0u);
}

TEST(SecurityToken, TokenThatCannotBeOpened) {
  ScopedProfile profile("[Token]\nAvailable=no\nGroups=S-1-5-32-544\n");
  alignas(TOKEN_GROUPS) uint8_t buffer[256];
  uint32_t needed = 1;
  EXPECT_FALSE(GetProcessTokenGroups(buffer, sizeof buffer, &needed));
  EXPECT_EQ(needed, 0u);
}

}  // namespace
