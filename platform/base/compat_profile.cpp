// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/compat_profile.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

#include "platform/base/private_profile.h"

namespace compat {
namespace {

// Stands for "no such entry": no profile line can hold it.
const char kNoEntry[] = "\n";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

std::string Backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

// Files of an XP system with service pack 2, DirectX 9.0c and media player 11.
const std::map<std::string, std::string>& DefaultFiles() {
  static const std::map<std::string, std::string> files = {
      {"inf\\wpdmtp.inf", "present"},
      {"system32\\drivers\\wpdusb.sys", "5.2.5721.5145"},
      {"system32\\ddraw.dll", "5.3.2600.2180"},
      {"system32\\dplayx.dll", "5.3.2600.2180"},
      {"system32\\dinput.dll", "5.3.2600.2180"},
      {"system32\\d3d8.dll", "5.3.2600.2180"},
      {"system32\\mpg2splt.ax", "6.5.2600.2180"},
      {"system32\\dpnet.dll", "5.3.2600.2180"},
      {"system32\\d3d9.dll", "5.3.2600.2180"},
  };
  return files;
}

// Registry values by lower-cased "key\name".
const std::map<std::string, TypedValue>& DefaultRegistryValues() {
  static const std::map<std::string, TypedValue> values = {
      {Lower(std::string(kMediaPlayerSetupKey) + "\\IsInstalled"), {TypedValue::Type::kDword, 1, {}}},
      {Lower(std::string(kMediaPlayerSetupKey) + "\\Version"), {TypedValue::Type::kString, 0, "11,0,5721,5145"}},
  };
  return values;
}

const std::map<std::string, TypedValue>& DefaultDiagnostics() {
  static const std::map<std::string, TypedValue> properties = {
      {"dwdirectxversionmajor", {TypedValue::Type::kDword, 9, {}}},
      {"dwdirectxversionminor", {TypedValue::Type::kDword, 0, {}}},
      {"szdirectxversionletter", {TypedValue::Type::kString, 0, "c"}},
  };
  return properties;
}

std::optional<uint32_t> ParseNumber(const std::string& text) {
  if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0]))) return std::nullopt;
  char* end = nullptr;
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  unsigned long long value = std::strtoull(text.c_str(), &end, hex ? 16 : 10);
  if (*end != '\0' || value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<uint32_t>(value);
}

// "A.B.C..." into up to `count` numbers; false when a part is no number.
bool ParseDotted(const std::string& text, uint32_t* parts, size_t count, uint32_t limit) {
  size_t start = 0;
  for (size_t i = 0; i < count; ++i) {
    size_t dot = text.find('.', start);
    bool last = i + 1 == count;
    if (last != (dot == std::string::npos)) return false;
    std::optional<uint32_t> number = ParseNumber(text.substr(start, last ? std::string::npos : dot - start));
    if (!number || *number > limit) return false;
    parts[i] = *number;
    start = dot + 1;
  }
  return true;
}

uint32_t ProfileNumber(const char* section, const char* key, uint32_t defaultValue) {
  std::optional<std::string> value = ProfileEntry(section, key);
  return value ? ParseNumber(*value).value_or(0) : defaultValue;
}

std::string ProfileText(const char* section, const char* key, const std::string& defaultValue) {
  return ProfileEntry(section, key).value_or(defaultValue);
}

// How the file is described: by the profile, else by the built-in system.
std::string FileDescription(const std::string& path) {
  std::string file = Backslashed(path);
  std::string windows = Backslashed(WindowsDirectory());
  while (!windows.empty() && windows.back() == '\\') windows.pop_back();
  windows += '\\';
  if (windows.size() > 1 && Lower(file).rfind(Lower(windows), 0) == 0) file.erase(0, windows.size());
  if (std::optional<std::string> written = ProfileEntry("Files", file)) return Lower(*written);
  auto builtIn = DefaultFiles().find(Lower(file));
  return builtIn != DefaultFiles().end() ? builtIn->second : "missing";
}

}  // namespace

std::string ProfilePath() {
  const char* path = std::getenv("NKDX_COMPAT_PROFILE");
  return path != nullptr ? path : "";
}

std::optional<std::string> ProfileEntry(const std::string& section, const std::string& key) {
  std::string path = ProfilePath();
  if (path.empty()) return std::nullopt;
  std::string value = GetPrivateProfileString(section, key, kNoEntry, path);
  if (value == kNoEntry) return std::nullopt;
  return value;
}

bool ProfileSwitchedOff(const std::string& section, const std::string& key) {
  std::optional<std::string> value = ProfileEntry(section, key);
  if (!value) return false;
  std::string word = Lower(*value);
  return word == "0" || word == "no" || word == "false" || word == "off";
}

std::optional<TypedValue> ParseTypedValue(const std::string& written, bool numericByDefault) {
  if (Lower(written) == "absent") return std::nullopt;
  TypedValue value;
  if (Lower(written).rfind("string:", 0) == 0) {
    value.text = written.substr(7);
    return value;
  }
  bool dwordPrefix = Lower(written).rfind("dword:", 0) == 0;
  if (dwordPrefix || numericByDefault) {
    std::optional<uint32_t> number = ParseNumber(dwordPrefix ? written.substr(6) : written);
    if (!number) return std::nullopt;
    value.type = TypedValue::Type::kDword;
    value.dword = *number;
    return value;
  }
  value.text = written;
  return value;
}

std::optional<OsVersion> QueryOsVersion() {
  if (ProfileSwitchedOff("OS", "Available")) return std::nullopt;
  OsVersion version;
  version.major = ProfileNumber("OS", "Major", 5);
  version.minor = ProfileNumber("OS", "Minor", 1);
  version.build = ProfileNumber("OS", "Build", 2600);
  version.platformId = ProfileNumber("OS", "PlatformId", kPlatformWin32Nt);
  return version;
}

BrowserComponentAnswer QueryBrowserComponentVersion(DLLVERSIONINFO* info) {
  if (ProfileSwitchedOff("Browser", "Library")) return BrowserComponentAnswer::kLibraryMissing;
  if (ProfileSwitchedOff("Browser", "Entry")) return BrowserComponentAnswer::kNoVersionEntry;
  uint32_t parts[3];
  if (info == nullptr || info->cbSize != sizeof(DLLVERSIONINFO) ||
      !ParseDotted(ProfileText("Browser", "Version", "6.0.2900"), parts, 3, 0xFFFFFFFFu)) {
    return BrowserComponentAnswer::kCallFailed;
  }
  info->dwMajorVersion = parts[0];
  info->dwMinorVersion = parts[1];
  info->dwBuildNumber = parts[2];
  info->dwPlatformID = 2;  // the NT build of the component
  return BrowserComponentAnswer::kAnswered;
}

std::string WindowsDirectory() { return ProfileText("System", "WindowsDirectory", "C:\\WINDOWS"); }

std::string SystemDirectory() { return ProfileText("System", "SystemDirectory", "C:\\WINDOWS\\system32"); }

bool SystemFileExists(const std::string& path) { return FileDescription(path) != "missing"; }

FileVersionAnswer QueryFileVersionResource(const std::string& path, uint32_t* versionMs, uint32_t* versionLs) {
  std::string description = FileDescription(path);
  if (description == "nofixedinfo") return FileVersionAnswer::kNoFixedFileInfo;
  uint32_t parts[4];
  if (!ParseDotted(description, parts, 4, 0xFFFF)) return FileVersionAnswer::kNoVersionResource;
  *versionMs = parts[0] << 16 | parts[1];
  *versionLs = parts[2] << 16 | parts[3];
  return FileVersionAnswer::kAnswered;
}

bool RegistryKeyExists(const std::string& keyPath) {
  if (std::optional<std::string> written = ProfileEntry("Registry", keyPath)) return Lower(*written) != "absent";
  std::string prefix = Lower(keyPath) + "\\";
  auto next = DefaultRegistryValues().lower_bound(prefix);
  return next != DefaultRegistryValues().end() && next->first.rfind(prefix, 0) == 0;
}

std::optional<TypedValue> QueryRegistryValue(const std::string& keyPath, const std::string& name) {
  if (!RegistryKeyExists(keyPath)) return std::nullopt;
  std::string valuePath = keyPath + "\\" + name;
  if (std::optional<std::string> written = ProfileEntry("Registry", valuePath)) {
    return ParseTypedValue(*written, false);
  }
  auto builtIn = DefaultRegistryValues().find(Lower(valuePath));
  if (builtIn == DefaultRegistryValues().end()) return std::nullopt;
  return builtIn->second;
}

bool DiagnosticsServiceAvailable() { return !ProfileSwitchedOff("DxDiag", "Available"); }

std::optional<TypedValue> QueryDiagnosticsProperty(const std::string& container, const std::string& name) {
  if (!DiagnosticsServiceAvailable() || container != "DxDiag_SystemInfo") return std::nullopt;
  if (std::optional<std::string> written = ProfileEntry("DxDiag", name)) {
    return ParseTypedValue(*written, Lower(name).rfind("dw", 0) == 0);
  }
  auto builtIn = DefaultDiagnostics().find(Lower(name));
  if (builtIn == DefaultDiagnostics().end()) return std::nullopt;
  return builtIn->second;
}

}  // namespace compat
