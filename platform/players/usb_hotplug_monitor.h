// SPDX-License-Identifier: GPL-2.0-or-later
// Arrivals and removals of USB devices, from a libudev monitor of the usb
// subsystem. Poll fd() and call TakeChange() when it is readable.
#pragma once

struct udev;
struct udev_monitor;

class UsbHotplugMonitor {
 public:
  UsbHotplugMonitor();
  ~UsbHotplugMonitor();
  UsbHotplugMonitor(const UsbHotplugMonitor&) = delete;
  UsbHotplugMonitor& operator=(const UsbHotplugMonitor&) = delete;

  // -1 when the monitor could not be started (no udev, no netlink access).
  int fd() const { return fd_; }
  // Reads the pending event; true when a USB device came or went.
  bool TakeChange();

 private:
  udev* udev_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  int fd_ = -1;
};
