// SPDX-License-Identifier: GPL-2.0-or-later
// Device-change notices for the mass-storage player path: whenever the mount
// table changes, the window gets WM_DEVICECHANGE with DBT_DEVICEARRIVAL when
// volumes were added and DBT_DEVICEREMOVECOMPLETE when volumes went. The
// notices are posted, so they reach the window on its own thread.
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "platform/base/platform_types.h"

#define WM_DEVICECHANGE 0x0219
#define DBT_DEVICEARRIVAL 0x8000
#define DBT_DEVICEREMOVECOMPLETE 0x8004

class MountTableWatch;
class WatchThread;

class DeviceChangeNotices {
 public:
  // Starts watching the mount table of GetDeviceRoots() for `window`, which
  // must outlive this object.
  explicit DeviceChangeNotices(HWND window);
  ~DeviceChangeNotices();
  DeviceChangeNotices(const DeviceChangeNotices&) = delete;
  DeviceChangeNotices& operator=(const DeviceChangeNotices&) = delete;

  // False when the mount table cannot be watched (no notices will come).
  bool watching() const;

 private:
  void OnMountTableChange();

  HWND window_;
  std::set<std::string> volumes_;  // device paths of the lettered USB volumes
  std::unique_ptr<MountTableWatch> watch_;
  std::unique_ptr<WatchThread> thread_;
};
