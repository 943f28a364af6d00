// What the converter remembers between runs, in section "CONVERTOR" of
// NKDXVC.ini: the destination folder and the chosen player model.
#pragma once

#include <cstddef>
#include <string>

// The settings file's full path.
std::string SettingsFilePath();

// The stored destination folder; empty when none is stored.
std::string LoadDestPath(const std::string& settingsFile);

// The stored player model index, 0 when missing or not below modelCount.
size_t LoadComboDevice(const std::string& settingsFile, size_t modelCount);

// Stores both values; false when the file cannot be written.
bool SaveConverterSettings(const std::string& settingsFile, const std::string& destPath, size_t comboDevice);
