// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/converter_settings.h"

#include <mutex>

#include "converter/core/support/log_file.h"
#include "platform/base/private_profile.h"

namespace {

const char kSection[] = "CONVERTOR";
const char kDestPathKey[] = "DestPath";
const char kComboDeviceKey[] = "ComboDevice";
const char kAddSilenceKey[] = "AddSilence";
const char kWindowWidthKey[] = "WindowWidth";
const char kWindowHeightKey[] = "WindowHeight";

// A settings file too large to be ours is not read: its keys give their
// defaults, and the trace log says so once.
void NoteUnreadSettings(const std::string& settingsFile) {
  static std::once_flag noted;
  if (IsProfileTooLarge(settingsFile)) {
    std::call_once(noted, [&settingsFile] {
      WriteLog("%s is larger than 1 MB: not read, the defaults are used", settingsFile.c_str());
    });
  }
}

}  // namespace

std::string SettingsFilePath() { return ProfileFilePath("NKDXVC.ini"); }

std::string LoadDestPath(const std::string& settingsFile) {
  NoteUnreadSettings(settingsFile);
  return GetPrivateProfileString(kSection, kDestPathKey, "", settingsFile);
}

size_t LoadComboDevice(const std::string& settingsFile, size_t modelCount) {
  NoteUnreadSettings(settingsFile);
  int index = GetPrivateProfileInt(kSection, kComboDeviceKey, 0, settingsFile);
  return index >= 0 && static_cast<size_t>(index) < modelCount ? static_cast<size_t>(index) : 0;
}

bool LoadAddSilence(const std::string& settingsFile) {
  return GetPrivateProfileInt(kSection, kAddSilenceKey, 0, settingsFile) != 0;
}

bool SaveConverterSettings(const std::string& settingsFile, const std::string& destPath, size_t comboDevice,
                           bool addSilence) {
  // One write: another program saving meanwhile sees all keys or none.
  return WritePrivateProfileStrings(kSection,
                                    {{kDestPathKey, destPath},
                                     {kComboDeviceKey, std::to_string(comboDevice)},
                                     {kAddSilenceKey, addSilence ? "1" : "0"}},
                                    settingsFile);
}

StoredWindowSize LoadWindowSize(const std::string& settingsFile) {
  NoteUnreadSettings(settingsFile);
  const int width = GetPrivateProfileInt(kSection, kWindowWidthKey, 0, settingsFile);
  const int height = GetPrivateProfileInt(kSection, kWindowHeightKey, 0, settingsFile);
  if (width <= 0 || height <= 0) return {};
  return {width, height};
}

bool SaveWindowSize(const std::string& settingsFile, StoredWindowSize size) {
  bool saved = WritePrivateProfileString(kSection, kWindowWidthKey, std::to_string(size.width), settingsFile);
  return WritePrivateProfileString(kSection, kWindowHeightKey, std::to_string(size.height), settingsFile) && saved;
}
