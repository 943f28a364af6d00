// SPDX-License-Identifier: GPL-2.0-or-later
// Where the player code looks at the machine: the sysfs tree and the mount
// table. Tests point both at fixture files through the environment.
#pragma once

#include <string>

struct DeviceRoots {
  std::string sysfs;       // $NKDX_SYSFS_ROOT, else /sys
  std::string mountTable;  // $NKDX_MOUNT_TABLE, else /proc/self/mountinfo
};

DeviceRoots GetDeviceRoots();
