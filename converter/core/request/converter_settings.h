// SPDX-License-Identifier: GPL-2.0-or-later
// What the converter remembers between runs, in section "CONVERTOR" of
// NKDXVC.ini: the destination folder, the chosen player model, whether
// videos without sound get silence, and the main window's size.
#pragma once

#include <cstddef>
#include <string>

// The settings file's full path.
std::string SettingsFilePath();

// The stored destination folder; empty when none is stored.
std::string LoadDestPath(const std::string& settingsFile);

// The stored player model index, 0 when missing or not below modelCount.
size_t LoadComboDevice(const std::string& settingsFile, size_t modelCount);

// "Add silence to videos without sound"; off when missing.
bool LoadAddSilence(const std::string& settingsFile);

// Stores the three values; false when the file cannot be written.
bool SaveConverterSettings(const std::string& settingsFile, const std::string& destPath, size_t comboDevice,
                           bool addSilence);

// The main window's last size in pixels; {0, 0} when the file has none
// (older files), so the window keeps its template size.
struct StoredWindowSize {
  int width = 0;
  int height = 0;
};
StoredWindowSize LoadWindowSize(const std::string& settingsFile);
bool SaveWindowSize(const std::string& settingsFile, StoredWindowSize size);
