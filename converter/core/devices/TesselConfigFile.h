// SPDX-License-Identifier: GPL-2.0-or-later
// The device table: every player model listed in TesselDeviceConfig.xml,
// read once at start-up and only read afterwards.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "converter/core/devices/device_config_entry.h"

// Two identifiers match when they agree, ignoring letter case, over the
// length of the shorter one (so an empty one matches anything).
bool IdFieldsMatch(const std::string& a, const std::string& b);

// A TargetFolder without the separators that mark the player's root and the
// end ("\VIDEO\KDX\" gives "VIDEO\KDX"); empty for the root itself.
std::string TargetFolderBelowRoot(const std::string& targetFolder);

class CTesselConfigFile {
 public:
  // Checks the file in the program's data folder: loads it and counts its
  // Device elements. Does not fill the table.
  bool Init();
  // The same for the file at configPath.
  bool Init(const std::string& configPath);
  // Loads the file again and rebuilds the table from it. Entries whose model
  // name or target folder could lead outside their folder, or whose model
  // name is longer than 64 characters or unprintable, are skipped (logged).
  bool GetTesselDeviceNode();

  const std::string& path() const { return m_strPath; }
  int count() const { return m_nCount; }
  size_t GetDeviceCount() const { return m_devices.size(); }
  const DEVICE_CONFIG_ENTRY& GetDevice(size_t index) const { return m_devices.at(index); }
  // Index of the first entry whose identifiers match a connected player's.
  std::optional<size_t> FindDeviceEntry(const std::string& vid, const std::string& pid) const;

 private:
  std::string m_strPath;
  std::vector<DEVICE_CONFIG_ENTRY> m_devices;
  int m_nCount = 0;
};
