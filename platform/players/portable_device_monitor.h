// SPDX-License-Identifier: GPL-2.0-or-later
// Follows the devices of a portable-device service: whenever a USB device
// comes or goes or the mount table changes, the service is listed again and
// every device that appeared or went is reported by canonical name. Reports
// come on the monitor's own thread; the receiver carries them to its thread.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/players/portable_devices.h"

class MountTableWatch;
class UsbHotplugMonitor;
class WatchThread;

enum class DeviceNotice { Arrival = 0, Removal = 1 };

class PortableDeviceMonitor {
 public:
  using Receiver = std::function<void(DeviceNotice notice, const std::string& canonicalName)>;

  PortableDeviceMonitor(PortableDeviceService& service, Receiver receiver);
  ~PortableDeviceMonitor();
  PortableDeviceMonitor(const PortableDeviceMonitor&) = delete;
  PortableDeviceMonitor& operator=(const PortableDeviceMonitor&) = delete;

  // False when neither USB events nor the mount table can be watched.
  bool watching() const { return thread_ != nullptr; }

 private:
  void Rescan();

  PortableDeviceService& service_;
  Receiver receiver_;
  std::vector<std::string> known_;
  std::unique_ptr<UsbHotplugMonitor> usb_;
  std::unique_ptr<MountTableWatch> mounts_;
  std::unique_ptr<WatchThread> thread_;
};
