// Mounted file systems on USB block devices, described from sysfs in the
// terms the player code needs: USB identifiers, the disk's inquiry data and
// the identifiers the desktop platform would give the volume and its parents.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "device_roots.h"

struct UsbVolume {
  std::string blockName;   // "sdb1"
  std::string mountPoint;  // first mount point of the volume
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

// The mounted USB volumes, each once, ordered by mount point. Nothing when
// the mount table cannot be read.
std::optional<std::vector<UsbVolume>> ListMountedUsbVolumes(const DeviceRoots& roots);
