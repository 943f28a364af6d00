// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/mass_storage_backend.h"

#include <strings.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <filesystem>

#include "platform/players/logical_drives.h"
#include "platform/players/player_file_copy.h"

namespace fs = std::filesystem;

namespace {

std::optional<LogicalDrive> DriveOf(const std::string& canonicalName) {
  for (LogicalDrive& drive : ListLogicalDrives()) {
    if (drive.volume && SameCanonicalName(drive.volume->devicePath, canonicalName)) return drive;
  }
  return std::nullopt;
}

}  // namespace

bool MassStorageBackend::Handles(const std::string& canonicalName) const {
  return ::strncasecmp(canonicalName.c_str(), "\\\\?\\storage#", 12) == 0;
}

std::vector<std::string> MassStorageBackend::ListDevices() {
  std::vector<std::string> names;
  for (const LogicalDrive& drive : ListLogicalDrives()) {
    if (drive.volume) names.push_back(drive.volume->devicePath);
  }
  return names;
}

std::optional<std::string> MassStorageBackend::DeviceName(const std::string& canonicalName) {
  auto drive = DriveOf(canonicalName);
  if (!drive) return std::nullopt;
  return drive->volume->label + " (" + drive->letter + ":)";
}

std::vector<StorageObject> MassStorageBackend::ListStorages(const std::string& canonicalName) {
  auto drive = DriveOf(canonicalName);
  if (!drive) return {};
  return {StorageObject{drive->mountPoint, drive->volume->label, true}};
}

std::optional<StorageCapacity> MassStorageBackend::QueryCapacity(const std::string&, const StorageObject& storage) {
  struct statvfs info {};
  if (::statvfs(storage.id.c_str(), &info) != 0) return std::nullopt;
  StorageCapacity capacity;
  capacity.totalBytes = static_cast<uint64_t>(info.f_blocks) * info.f_frsize;
  capacity.freeBytes = static_cast<uint64_t>(info.f_bavail) * info.f_frsize;
  return capacity;
}

std::optional<std::vector<StorageObject>> MassStorageBackend::ListChildren(const std::string&,
                                                                           const StorageObject& folder) {
  std::error_code error;
  fs::directory_iterator it(folder.id, error);
  if (error) return std::nullopt;
  std::vector<StorageObject> children;
  for (const fs::directory_entry& entry : it) {
    children.push_back({entry.path().string(), entry.path().filename().string(), entry.is_directory(error)});
  }
  return children;
}

std::optional<StorageObject> MassStorageBackend::CreateFolder(const std::string&, const StorageObject& parent,
                                                              const std::string& name) {
  std::string path = parent.id + "/" + name;
  if (::mkdir(path.c_str(), 0777) != 0) {
    std::error_code error;
    if (errno != EEXIST || !fs::is_directory(path, error)) return std::nullopt;
  }
  return StorageObject{path, name, true};
}

bool MassStorageBackend::SendFile(const std::string& canonicalName, const StorageObject& folder,
                                  const std::string& sourcePath, uint16_t, int* error) {
  // The folder was found on this device: if the device went, a volume
  // mounted there since is another one.
  auto drive = DriveOf(canonicalName);
  const std::string root = drive ? drive->mountPoint : std::string();
  if (!drive || (folder.id != root && folder.id.rfind(root + (root.back() == '/' ? "" : "/"), 0) != 0)) {
    *error = ENODEV;
    return false;
  }
  return CopyToPlayerFolder(sourcePath, root, folder.id, drive->volume->fileSystem, error);
}
