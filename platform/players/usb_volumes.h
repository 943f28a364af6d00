// SPDX-License-Identifier: GPL-2.0-or-later
// Mounted file systems on USB block devices, described from sysfs in the
// terms the player code needs: USB identifiers, the disk's inquiry data and
// the identifiers the desktop platform would give the volume and its parents.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/players/device_roots.h"

struct UsbVolume {
  std::string blockName;   // "sdb1"
  unsigned major = 0;      // the block device's numbers: with the serial, who the volume is
  unsigned minor = 0;
  std::string mountPoint;  // where the volume's root is mounted, read-write preferred
  std::string fileSystem;  // "vfat", "exfat", "fuseblk", …
  std::string label;       // last part of the mount point
  std::string idVendor;    // "0781", as sysfs gives it
  std::string idProduct;
  std::string serial;  // the USB device's serial number; may be empty
  int busNumber = 0;
  int deviceNumber = 0;
  // "7&1a2b3c4&0": the prefix the volume's identifiers are made from.
  std::string parentIdPrefix;
  std::string friendlyName;    // "VENDOR MODEL USB Device"
  std::string uniqueId;        // "\??\STORAGE#RemovableMedia#<prefix>&RM#{…}"
  std::string devicePath;      // "\\?\STORAGE#RemovableMedia#<prefix>&RM#{…}"
  std::string diskInstanceId;  // "USBSTOR\DISK&VEN_…&PROD_…&REV_…\<serial>&0"
  std::string usbInstanceId;   // "USB\VID_xxxx&PID_xxxx\<serial>", "&MI_nn" on composite devices
};

// The mounted USB volumes, each once, ordered by mount point. Only mounts of
// a volume's root count (a bind mount of a subfolder is no drive root); of
// two mounts of one volume the read-write one wins, else the first. FUSE
// block volumes are found through their source device. Nothing when the
// mount table cannot be read.
std::optional<std::vector<UsbVolume>> ListMountedUsbVolumes(const DeviceRoots& roots);

// Whether two descriptions are of the same volume of the same device.
bool SameVolume(const UsbVolume& a, const UsbVolume& b);
