// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/logical_drives.h"

#include <sys/statvfs.h>

#include <cctype>

namespace {

std::optional<char> DriveLetterOf(const std::string& root) {
  if (root.size() < 2 || root.size() > 3 || root[1] != ':') return std::nullopt;
  if (root.size() == 3 && root[2] != '\\') return std::nullopt;
  if (!std::isalpha(static_cast<unsigned char>(root[0]))) return std::nullopt;
  return static_cast<char>(std::toupper(static_cast<unsigned char>(root[0])));
}

std::optional<LogicalDrive> FindDrive(char letter) {
  for (LogicalDrive& drive : ListLogicalDrives()) {
    if (drive.letter == letter) return drive;
  }
  return std::nullopt;
}

}  // namespace

std::vector<LogicalDrive> ListLogicalDrives() {
  std::vector<LogicalDrive> drives{LogicalDrive{'C', "/", std::nullopt}};
  auto volumes = ListMountedUsbVolumes(GetDeviceRoots());
  if (!volumes) return drives;
  char letter = 'D';
  for (const UsbVolume& volume : *volumes) {
    if (volume.mountPoint == "/") continue;  // a system started from a USB disk: that is C:
    if (letter > 'Z') break;
    drives.push_back(LogicalDrive{letter++, volume.mountPoint, volume});
  }
  return drives;
}

uint32_t GetLogicalDrives() {
  uint32_t mask = 0;
  for (const LogicalDrive& drive : ListLogicalDrives()) mask |= 1u << (drive.letter - 'A');
  return mask;
}

UINT GetDriveType(const std::string& root) {
  auto letter = DriveLetterOf(root);
  if (!letter) return DRIVE_NO_ROOT_DIR;
  auto drive = FindDrive(*letter);
  if (!drive) return DRIVE_NO_ROOT_DIR;
  return drive->volume ? DRIVE_REMOVABLE : DRIVE_FIXED;
}

std::optional<std::string> DriveFolder(char letter) {
  auto drive = FindDrive(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  if (!drive) return std::nullopt;
  return drive->mountPoint;
}

bool GetDiskFreeSpaceEx(const std::string& root, uint64_t* freeBytesForCaller) {
  auto letter = DriveLetterOf(root);
  auto folder = letter ? DriveFolder(*letter) : std::nullopt;
  struct statvfs info {};
  if (!folder || ::statvfs(folder->c_str(), &info) != 0) return false;
  *freeBytesForCaller = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
  return true;
}

std::optional<UsbVolume> OpenVolume(const std::string& volumePath) {
  if (volumePath.size() != 6 || volumePath.compare(0, 4, "\\\\.\\") != 0) return std::nullopt;
  auto letter = DriveLetterOf(volumePath.substr(4));
  auto drive = letter ? FindDrive(*letter) : std::nullopt;
  if (!drive) return std::nullopt;
  return drive->volume;
}

std::optional<std::vector<UsbVolume>> ListVolumeInterfaces() { return ListMountedUsbVolumes(GetDeviceRoots()); }
