// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/TesselOSEnvironment.h"

#include <string>

#include "platform/base/compat_profile.h"
#include "converter/core/support/log_file.h"
#include "platform/base/platform_types.h"
#include "platform/base/security_token.h"

namespace {

// Room for the token's group list.
constexpr uint32_t kTokenGroupsCapacity = 4096;
// The media player's version text is read into this many bytes, terminator included.
constexpr size_t kPlayerVersionCapacity = 128;

int ClassifyWindowsVersion(const compat::OsVersion& version) {
  if (version.platformId == compat::kPlatformWin32Windows && version.major == 4) {
    if (version.minor == 10) return kWindows98;
    if (version.minor == 90) return kWindowsMe;
  }
  if (version.platformId == compat::kPlatformWin32Nt && version.major > 4) {
    if (version.minor == 0) return kWindows2000;
    if (version.minor == 1) return kWindowsXP;
  }
  return kWindowsOther;
}

}  // namespace

int TesselOSEnvironment::GetWindowsVersionCode() {
  std::optional<compat::OsVersion> version = compat::QueryOsVersion();
  if (!version) return kWindowsVersionUnknown;
  WriteLog("Windows Version: Major = %d, Minor = %d, BuildNumber = %d, PlatformId = %d",
           static_cast<int>(version->major), static_cast<int>(version->minor), static_cast<int>(version->build),
           static_cast<int>(version->platformId));
  return ClassifyWindowsVersion(*version);
}

bool TesselOSEnvironment::IsAdministrator() {
  alignas(TOKEN_GROUPS) uint8_t buffer[kTokenGroupsCapacity];
  uint32_t needed = 0;
  if (!GetProcessTokenGroups(buffer, sizeof buffer, &needed)) return false;
  std::vector<uint8_t> administrators = MakeSid(SECURITY_NT_AUTHORITY, {SECURITY_BUILTIN_DOMAIN_RID,
                                                                         DOMAIN_ALIAS_RID_ADMINS});
  const auto* administratorsSid = reinterpret_cast<const SID*>(administrators.data());
  const auto* list = reinterpret_cast<const TOKEN_GROUPS*>(buffer);
  const SID_AND_ATTRIBUTES* groups = list->Groups;
  for (uint32_t i = 0; i < list->GroupCount; ++i) {
    if (!EqualSid(groups[i].Sid, administratorsSid)) continue;
    // A group kept only to deny access grants no rights.
    return (groups[i].Attributes & SE_GROUP_USE_FOR_DENY_ONLY) == 0;
  }
  return false;
}

bool TesselOSEnvironment::IsIE6OrLater() {
  compat::DLLVERSIONINFO info{};
  info.cbSize = sizeof info;
  switch (compat::QueryBrowserComponentVersion(&info)) {
    case compat::BrowserComponentAnswer::kLibraryMissing:
      KDX_ERROR_LOG("LoadLibrary shdocvw.dll failed!");
      return false;
    case compat::BrowserComponentAnswer::kNoVersionEntry:
      KDX_ERROR_LOG("GetProcAddress failed!");
      return false;
    case compat::BrowserComponentAnswer::kCallFailed:
      return false;
    case compat::BrowserComponentAnswer::kAnswered:
      break;
  }
  WriteLog("IE: v%d%d%d", static_cast<int>(info.dwMajorVersion), static_cast<int>(info.dwMinorVersion),
           static_cast<int>(info.dwBuildNumber));
  return info.dwMajorVersion >= 6;
}

bool TesselOSEnvironment::IsWMP10Installed(int windowsVersionCode) {
  if (windowsVersionCode != kWindowsXP) {
    KDX_ERROR_LOG("Not WinXP");
    return false;
  }
  std::string windows = compat::WindowsDirectory();
  if (windows.empty() || windows.size() > MAX_PATH) {
    KDX_ERROR_LOG("GetWindowsDirectory failed");
    return false;
  }
  if (windows.back() != '\\') windows += '\\';
  for (const char* driverFile : {"inf\\WpdMtp.inf", "system32\\drivers\\wpdusb.sys"}) {
    if (!compat::SystemFileExists(windows + driverFile)) {
      KDX_ERROR_LOG("_access \"" + std::string(driverFile) + "\" failed");
      return false;
    }
  }
  const char* key = compat::kMediaPlayerSetupKey;
  const std::string quotedKey = "\"" + std::string(key) + "\"";
  if (!compat::RegistryKeyExists(key)) {
    KDX_ERROR_LOG("invalid " + quotedKey + " reg key open ");
    return false;
  }
  std::optional<compat::TypedValue> installed = compat::QueryRegistryValue(key, "IsInstalled");
  if (!installed || installed->type != compat::TypedValue::Type::kDword || installed->dword != 1) {
    KDX_ERROR_LOG("invalid " + quotedKey + "IsInstalled key");
    return false;
  }
  std::optional<compat::TypedValue> version = compat::QueryRegistryValue(key, "Version");
  if (!version || version->text.size() + 1 > kPlayerVersionCapacity) return false;
  // Versions 10.x and 11.x.
  const std::string& text = version->text;
  if (version->type == compat::TypedValue::Type::kString && text.size() >= 2 && text[0] == '1' &&
      (text[1] == '0' || text[1] == '1')) {
    WriteLog("WMP:v%s", text.c_str());
    return true;
  }
  KDX_ERROR_LOG("invalid " + quotedKey + "version key");
  return false;
}
