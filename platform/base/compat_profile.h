// SPDX-License-Identifier: GPL-2.0-or-later
// What the converter asks about the computer before it opens its window,
// answered from one compatibility profile. The built-in answers describe the
// system the converter expects: an NT 5.1 system, browser component 6.0,
// DirectX 9.0c, media player 11 with portable-device support. An INI file
// named by $NKDX_COMPAT_PROFILE overrides any answer; sections and keys are
// listed with each query below. Token groups are the built-in ones, the
// Administrators group included for every user (see security_token.h),
// unless the profile lists them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace compat {

// The profile file from $NKDX_COMPAT_PROFILE; empty when none is named.
std::string ProfilePath();

// A profile entry as written, or nothing when the profile does not set it.
std::optional<std::string> ProfileEntry(const std::string& section, const std::string& key);

// The profile sets the entry to 0, no, false or off.
bool ProfileSwitchedOff(const std::string& section, const std::string& key);

// A typed value of the registry or of the diagnostics service. Profiles
// write "absent", "dword:N", "string:TEXT", or a bare text taken as a number
// where the value is naturally one and as a string otherwise.
struct TypedValue {
  enum class Type { kDword, kString };
  Type type = Type::kString;
  uint32_t dword = 0;
  std::string text;
};
std::optional<TypedValue> ParseTypedValue(const std::string& written, bool numericByDefault);

constexpr uint32_t kPlatformWin32Windows = 1;
constexpr uint32_t kPlatformWin32Nt = 2;

struct OsVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  uint32_t platformId = 0;
};
// [OS] Major, Minor, Build, PlatformId; Available=0 makes the query fail.
std::optional<OsVersion> QueryOsVersion();

// The browser component's DllGetVersion record; cbSize must be 20.
struct DLLVERSIONINFO {
  uint32_t cbSize;
  uint32_t dwMajorVersion;
  uint32_t dwMinorVersion;
  uint32_t dwBuildNumber;
  uint32_t dwPlatformID;
};
enum class BrowserComponentAnswer { kLibraryMissing, kNoVersionEntry, kCallFailed, kAnswered };
// [Browser] Library=0 (cannot be loaded), Entry=0 (no version entry),
// Version=MAJOR.MINOR.BUILD (empty or unreadable: the call fails).
BrowserComponentAnswer QueryBrowserComponentVersion(DLLVERSIONINFO* info);

// [System] WindowsDirectory and SystemDirectory, written with backslashes
// and without a closing one; empty when the query fails.
std::string WindowsDirectory();
std::string SystemDirectory();

// Files of the Windows folder: [Files] with paths relative to it as keys
// ("system32\ddraw.dll") and "missing", "present" (no version resource),
// "nofixedinfo" or a version "A.B.C.D" as values. Paths name the file as the
// program builds it from WindowsDirectory(); '/' and '\' are the same.
bool SystemFileExists(const std::string& path);
enum class FileVersionAnswer { kNoVersionResource, kNoFixedFileInfo, kAnswered };
// The fixed file information's two version double words.
FileVersionAnswer QueryFileVersionResource(const std::string& path, uint32_t* versionMs, uint32_t* versionLs);

// Where the media player registers itself as installed (values IsInstalled
// and Version); the built-in system has player 11 there.
inline constexpr char kMediaPlayerSetupKey[] =
    "Software\\Microsoft\\Active Setup\\Installed Components\\{6BF52A52-394A-11d3-B153-00C04F79FAA6}";

// Local-machine registry: [Registry] with "KEY\PATH=absent" to remove a key
// and "KEY\PATH\ValueName=VALUE" (a typed value, "absent" to remove it).
bool RegistryKeyExists(const std::string& keyPath);
std::optional<TypedValue> QueryRegistryValue(const std::string& keyPath, const std::string& name);

// The DirectX diagnostics service: [DxDiag] Available=0 when it cannot be
// created; properties of the "DxDiag_SystemInfo" container by name
// (dwDirectXVersionMajor=9, szDirectXVersionLetter=c, ...).
bool DiagnosticsServiceAvailable();
std::optional<TypedValue> QueryDiagnosticsProperty(const std::string& container, const std::string& name);

}  // namespace compat
