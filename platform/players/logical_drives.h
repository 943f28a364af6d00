// SPDX-License-Identifier: GPL-2.0-or-later
// Drive letters over the Linux file systems: C: is the root file system and
// the mounted USB volumes get D:, E:, … in the order of their mount points.
// Everything is read afresh on every call, so a change of the mount table
// shows at once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/platform_types.h"
#include "platform/players/usb_volumes.h"

#define DRIVE_UNKNOWN 0
#define DRIVE_NO_ROOT_DIR 1
#define DRIVE_REMOVABLE 2
#define DRIVE_FIXED 3

struct LogicalDrive {
  char letter = 'C';
  std::string mountPoint;
  std::optional<UsbVolume> volume;  // empty for C:
};

// C: and the lettered USB volumes, in letter order (at most up to Z:).
std::vector<LogicalDrive> ListLogicalDrives();

// Bit mask of the existing drives, bit 0 for A:.
uint32_t GetLogicalDrives();

// DRIVE_FIXED for C:, DRIVE_REMOVABLE for a USB volume, DRIVE_NO_ROOT_DIR
// for any other root ("D:\" or "D:").
UINT GetDriveType(const std::string& root);

// The folder a drive letter stands for; nothing for a letter without a drive.
std::optional<std::string> DriveFolder(char letter);

// Bytes the calling user may still write below the drive root ("E:\").
bool GetDiskFreeSpaceEx(const std::string& root, uint64_t* freeBytesForCaller);

// The USB volume behind a volume path "\\.\E:"; nothing when the path does
// not name a lettered USB volume (the volume cannot be opened).
std::optional<UsbVolume> OpenVolume(const std::string& volumePath);

// The present volume interfaces: nothing when they cannot be listed.
std::optional<std::vector<UsbVolume>> ListVolumeInterfaces();
