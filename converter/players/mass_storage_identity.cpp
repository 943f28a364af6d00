// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/mass_storage_identity.h"

#include <sys/stat.h>

#include "converter/core/devices/TesselConfigFile.h"
#include "platform/base/ascii_case.h"
#include "converter/core/support/log_file.h"
#include "platform/players/logical_drives.h"

namespace {

// Unique ids are read into 520 bytes of UTF-16 text.
constexpr size_t kUniqueIdBytes = 520;
constexpr size_t kLongestId = 4;

// "USBSTOR\DISK&VEN_x&PROD_y&REV_z\serial&0": a disk below a USB device.
bool IsUsbDiskId(const std::string& id) {
  size_t revision = id.find("&REV_");
  if (id.find("&VEN_") == std::string::npos || id.find("&PROD_") == std::string::npos ||
      revision == std::string::npos) {
    return false;
  }
  size_t separator = id.find('\\', revision);
  return separator != std::string::npos && id.find('&', separator) != std::string::npos;
}

// "USB\VID_xxxx&PID_xxxx\serial": VID and PID, each emptied when too long.
bool ParseUsbDeviceId(const std::string& instanceId, std::string* vid, std::string* pid) {
  std::string id = AsciiUpper(instanceId);
  size_t vidAt = id.find("VID_");
  size_t pidAt = id.find("&PID_");
  if (vidAt == std::string::npos || pidAt == std::string::npos) return false;
  size_t separator = id.find('\\', pidAt);
  if (separator == std::string::npos || pidAt < vidAt + 4) return false;
  std::string foundVid = id.substr(vidAt + 4, pidAt - (vidAt + 4));
  std::string foundPid = id.substr(pidAt + 5, separator - (pidAt + 5));
  *vid = foundVid.size() > kLongestId ? std::string() : foundVid;
  *pid = foundPid.size() > kLongestId ? std::string() : foundPid;
  return true;
}

}  // namespace

std::string StripVolumeDecoration(const std::string& text) {
  size_t first = text.find_first_not_of("\\?");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of("\\?");
  return text.substr(first, last - first + 1);
}

namespace {

bool UsableVolumeId(const UsbVolume& volume) {
  if (volume.uniqueId.empty()) {
    KDX_ERROR_LOG("DeviceIoControl IOCTL_MOUNTDEV_QUERY_UNIQUE_ID failed!");
    return false;
  }
  if (volume.uniqueId.size() * 2 >= kUniqueIdBytes) {
    KDX_ERROR_LOG("VolumeID too long.");
    return false;
  }
  return true;
}

// The table entry of the player behind a volume whose id was found usable.
bool IsSupportedVolumeId(const CTesselConfigFile& table, const std::string& volumeId, std::string* vid,
                         std::string* pid, std::string* modelName, std::string* targetFolder) {
  std::string stripped = StripVolumeDecoration(volumeId);
  if (stripped == volumeId) {
    KDX_ERROR_LOG("Wrong Volume ID");
    return false;
  }
  std::string foundVid, foundPid;
  if (!TesselFindExistingDevice(stripped, &foundVid, &foundPid)) {
    WriteLog("Can not find the existing player that matched the Volume ID = %s", stripped.c_str());
    return false;
  }
  auto entry = table.FindDeviceEntry(foundVid, foundPid);
  if (!entry) return false;
  const DEVICE_CONFIG_ENTRY& device = table.GetDevice(*entry);
  if (vid != nullptr) *vid = foundVid;
  if (pid != nullptr) *pid = foundPid;
  if (modelName != nullptr) *modelName = device.ModelName;
  if (targetFolder != nullptr) *targetFolder = device.TargetFolder;
  return true;
}

}  // namespace

bool TesselGetVolumeID(const std::string& volumePath, std::string* volumeId) {
  auto volume = OpenVolume(volumePath);
  if (!volume) {
    WriteLog("CreateFile %s failed!", volumePath.c_str());
    return false;
  }
  if (!UsableVolumeId(*volume)) return false;
  *volumeId = volume->uniqueId;
  return true;
}

bool TesselFindExistingDevice(const std::string& volumeId, std::string* vid, std::string* pid) {
  auto interfaces = ListVolumeInterfaces();
  if (!interfaces) {
    KDX_ERROR_LOG("SetupDiGetClassDevs Fail");
    return false;
  }
  for (const UsbVolume& volume : *interfaces) {
    // Compared over the shorter length, letter case ignored, as identifiers are.
    if (!IdFieldsMatch(StripVolumeDecoration(volume.devicePath), volumeId)) continue;
    if (!IsUsbDiskId(volume.diskInstanceId)) return false;
    return ParseUsbDeviceId(volume.usbInstanceId, vid, pid);
  }
  return false;
}

bool TesselMSCIsSupportedDevice(const CTesselConfigFile& table, char driveLetter, std::string* vid, std::string* pid,
                                std::string* modelName, std::string* targetFolder, UsbVolume* volume) {
  std::string volumePath = std::string("\\\\.\\") + (driveLetter != '\0' ? std::string(1, driveLetter) : "") + ":";
  auto opened = OpenVolume(volumePath);
  if (!opened) WriteLog("CreateFile %s failed!", volumePath.c_str());
  if (!opened || !UsableVolumeId(*opened)) {
    KDX_ERROR_LOG("TesselGetVolumeID error");
    return false;
  }
  if (!IsSupportedVolumeId(table, opened->uniqueId, vid, pid, modelName, targetFolder)) return false;
  if (volume != nullptr) *volume = *opened;
  return true;
}

bool TesselMSCIsSupportedVolume(const CTesselConfigFile& table, const UsbVolume& volume, std::string* vid,
                                std::string* pid, std::string* modelName, std::string* targetFolder) {
  return UsableVolumeId(volume) && IsSupportedVolumeId(table, volume.uniqueId, vid, pid, modelName, targetFolder);
}

bool TransferredFileSize(const std::string& path, uint64_t* size) {
  if (path.empty() || size == nullptr) return false;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    WriteLog("access %s fail!", path.c_str());
    return false;
  }
  *size = static_cast<uint64_t>(info.st_size);
  return true;
}
