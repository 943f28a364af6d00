#include "converter_settings.h"

#include "private_profile.h"

namespace {

const char kSection[] = "CONVERTOR";
const char kDestPathKey[] = "DestPath";
const char kComboDeviceKey[] = "ComboDevice";

}  // namespace

std::string SettingsFilePath() { return ProfileFilePath("NKDXVC.ini"); }

std::string LoadDestPath(const std::string& settingsFile) {
  return GetPrivateProfileString(kSection, kDestPathKey, "", settingsFile);
}

size_t LoadComboDevice(const std::string& settingsFile, size_t modelCount) {
  int index = GetPrivateProfileInt(kSection, kComboDeviceKey, 0, settingsFile);
  return index >= 0 && static_cast<size_t>(index) < modelCount ? static_cast<size_t>(index) : 0;
}

bool SaveConverterSettings(const std::string& settingsFile, const std::string& destPath, size_t comboDevice) {
  // One write: another program saving meanwhile sees both keys or neither.
  return WritePrivateProfileStrings(
      kSection, {{kDestPathKey, destPath}, {kComboDeviceKey, std::to_string(comboDevice)}}, settingsFile);
}
