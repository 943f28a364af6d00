// SPDX-License-Identifier: GPL-2.0-or-later
// The mount table in the layout of /proc/self/mountinfo.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct MountEntry {
  unsigned major = 0;  // 0 for FUSE volumes: their device is in `source`
  unsigned minor = 0;
  std::string root;        // the folder of the volume mounted here: "/" unless a bind mount
  std::string mountPoint;  // octal escapes (\040 for a space) decoded
  bool readOnly = false;   // from the mount's own options
  std::string fileSystem;
  std::string source;
};

// The entries in file order; nothing when the file cannot be read. Lines
// that do not have the layout are skipped.
std::optional<std::vector<MountEntry>> ReadMountTable(const std::string& path);
