// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/usb_hotplug_monitor.h"

#include <libudev.h>

#include <cstring>

UsbHotplugMonitor::UsbHotplugMonitor() {
  udev_ = udev_new();
  if (udev_ == nullptr) return;
  monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
  if (monitor_ == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "usb", "usb_device") < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    return;
  }
  fd_ = udev_monitor_get_fd(monitor_);
}

UsbHotplugMonitor::~UsbHotplugMonitor() {
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (udev_ != nullptr) udev_unref(udev_);
}

bool UsbHotplugMonitor::TakeChange() {
  if (monitor_ == nullptr) return false;
  udev_device* device = udev_monitor_receive_device(monitor_);
  if (device == nullptr) return false;
  const char* action = udev_device_get_action(device);
  bool changed = action != nullptr && (std::strcmp(action, "add") == 0 || std::strcmp(action, "remove") == 0);
  udev_device_unref(device);
  return changed;
}
