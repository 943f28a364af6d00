// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/device_roots.h"

#include <cstdlib>

namespace {

std::string FromEnvironment(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return (value != nullptr && *value != '\0') ? value : fallback;
}

}  // namespace

DeviceRoots GetDeviceRoots() {
  return DeviceRoots{FromEnvironment("NKDX_SYSFS_ROOT", "/sys"),
                     FromEnvironment("NKDX_MOUNT_TABLE", "/proc/self/mountinfo")};
}
