// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/mtp_backend.h"

#include <libmtp.h>
#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// Interface class of portable devices, as the desktop platform names it.
constexpr const char* kDeviceInterfaceClass = "{6ac27878-a6fa-4155-ba85-f98f491d4f33}";

void InitLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] { LIBMTP_Init(); });
}

std::string CanonicalNameOf(const LIBMTP_raw_device_t& raw) {
  char text[128];
  std::snprintf(text, sizeof text, "\\\\?\\usb#vid_%04x&pid_%04x#mtp%u.%u#%s", raw.device_entry.vendor_id,
                raw.device_entry.product_id, raw.bus_location, static_cast<unsigned>(raw.devnum), kDeviceInterfaceClass);
  return text;
}

// The players libmtp sees now; empty when there are none or the bus cannot be read.
std::vector<LIBMTP_raw_device_t> DetectRawDevices() {
  LIBMTP_raw_device_t* raw = nullptr;
  int count = 0;
  std::vector<LIBMTP_raw_device_t> devices;
  if (LIBMTP_Detect_Raw_Devices(&raw, &count) == LIBMTP_ERROR_NONE && raw != nullptr) {
    devices.assign(raw, raw + count);
  }
  std::free(raw);
  return devices;
}

// "storage/object"; the object is LIBMTP_FILES_AND_FOLDERS_ROOT for a storage itself.
std::string ObjectId(uint32_t storage, uint32_t object) {
  return std::to_string(storage) + "/" + std::to_string(object);
}

bool ParseObjectId(const std::string& id, uint32_t* storage, uint32_t* object) {
  return std::sscanf(id.c_str(), "%u/%u", storage, object) == 2;
}

// libmtp names the root as parent 0 when creating objects.
uint32_t CreationParent(uint32_t object) { return object == LIBMTP_FILES_AND_FOLDERS_ROOT ? 0 : object; }

std::optional<uint32_t> FindChild(LIBMTP_mtpdevice_t* device, uint32_t storage, uint32_t parent,
                                  const std::string& name, bool folder) {
  std::optional<uint32_t> found;
  LIBMTP_file_t* files = LIBMTP_Get_Files_And_Folders(device, storage, parent);
  for (LIBMTP_file_t* file = files; file != nullptr;) {
    LIBMTP_file_t* next = file->next;
    bool isFolder = file->filetype == LIBMTP_FILETYPE_FOLDER;
    if (!found && isFolder == folder && file->filename != nullptr && ::strcasecmp(file->filename, name.c_str()) == 0) {
      found = file->item_id;
    }
    LIBMTP_destroy_file_t(file);
    file = next;
  }
  return found;
}

}  // namespace

MtpBackend::MtpBackend() { InitLibraryOnce(); }

MtpBackend::~MtpBackend() {
  for (auto& entry : open_) LIBMTP_Release_Device(entry.second);
}

bool MtpBackend::Handles(const std::string& canonicalName) const {
  return ::strncasecmp(canonicalName.c_str(), "\\\\?\\usb#", 8) == 0;
}

std::vector<std::string> MtpBackend::ListDevices() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> names;
  for (const LIBMTP_raw_device_t& raw : DetectRawDevices()) names.push_back(CanonicalNameOf(raw));
  return names;
}

MtpBackend::Device* MtpBackend::Open(const std::string& canonicalName) {
  std::vector<LIBMTP_raw_device_t> present = DetectRawDevices();
  for (auto it = open_.begin(); it != open_.end();) {
    bool stillThere = false;
    for (const auto& raw : present) stillThere = stillThere || SameCanonicalName(CanonicalNameOf(raw), it->first);
    if (stillThere) {
      ++it;
    } else {
      LIBMTP_Release_Device(it->second);
      it = open_.erase(it);
    }
  }
  for (auto& entry : open_) {
    if (SameCanonicalName(entry.first, canonicalName)) return entry.second;
  }
  for (auto& raw : present) {
    if (!SameCanonicalName(CanonicalNameOf(raw), canonicalName)) continue;
    Device* device = LIBMTP_Open_Raw_Device_Uncached(&raw);
    if (device != nullptr) open_[CanonicalNameOf(raw)] = device;
    return device;
  }
  return nullptr;
}

std::optional<std::string> MtpBackend::DeviceName(const std::string& canonicalName) {
  std::lock_guard<std::mutex> lock(mutex_);
  Device* device = Open(canonicalName);
  if (device == nullptr) return std::nullopt;
  char* name = LIBMTP_Get_Friendlyname(device);
  if (name == nullptr) name = LIBMTP_Get_Modelname(device);
  std::string text = name != nullptr ? name : "";
  std::free(name);
  return text;
}

std::vector<StorageObject> MtpBackend::ListStorages(const std::string& canonicalName) {
  std::lock_guard<std::mutex> lock(mutex_);
  Device* device = Open(canonicalName);
  if (device == nullptr || LIBMTP_Get_Storage(device, LIBMTP_STORAGE_SORTBY_NOTSORTED) != 0) return {};
  std::vector<StorageObject> storages;
  for (LIBMTP_devicestorage_t* storage = device->storage; storage != nullptr; storage = storage->next) {
    std::string name = storage->StorageDescription != nullptr ? storage->StorageDescription : "";
    storages.push_back({ObjectId(storage->id, LIBMTP_FILES_AND_FOLDERS_ROOT), name, true});
  }
  return storages;
}

std::optional<StorageCapacity> MtpBackend::QueryCapacity(const std::string& canonicalName,
                                                         const StorageObject& storage) {
  std::lock_guard<std::mutex> lock(mutex_);
  Device* device = Open(canonicalName);
  uint32_t storageId = 0, object = 0;
  if (device == nullptr || !ParseObjectId(storage.id, &storageId, &object) ||
      LIBMTP_Get_Storage(device, LIBMTP_STORAGE_SORTBY_NOTSORTED) != 0) {
    return std::nullopt;
  }
  for (LIBMTP_devicestorage_t* s = device->storage; s != nullptr; s = s->next) {
    if (s->id == storageId) return StorageCapacity{s->MaxCapacity, s->FreeSpaceInBytes, 0};
  }
  return std::nullopt;
}

std::optional<std::vector<StorageObject>> MtpBackend::ListChildren(const std::string& canonicalName,
                                                                   const StorageObject& folder) {
  std::lock_guard<std::mutex> lock(mutex_);
  Device* device = Open(canonicalName);
  uint32_t storage = 0, object = 0;
  if (device == nullptr || !ParseObjectId(folder.id, &storage, &object)) return std::nullopt;
  std::vector<StorageObject> children;
  LIBMTP_file_t* files = LIBMTP_Get_Files_And_Folders(device, storage, object);
  for (LIBMTP_file_t* file = files; file != nullptr;) {
    LIBMTP_file_t* next = file->next;
    children.push_back({ObjectId(storage, file->item_id), file->filename != nullptr ? file->filename : "",
                        file->filetype == LIBMTP_FILETYPE_FOLDER});
    LIBMTP_destroy_file_t(file);
    file = next;
  }
  return children;
}

std::optional<StorageObject> MtpBackend::CreateFolder(const std::string& canonicalName, const StorageObject& parent,
                                                      const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Device* device = Open(canonicalName);
  uint32_t storage = 0, object = 0;
  if (device == nullptr || !ParseObjectId(parent.id, &storage, &object)) return std::nullopt;
  if (auto existing = FindChild(device, storage, object, name, true)) {
    return StorageObject{ObjectId(storage, *existing), name, true};
  }
  std::string writable = name;
  uint32_t created = LIBMTP_Create_Folder(device, writable.data(), CreationParent(object), storage);
  if (created == 0) return std::nullopt;
  return StorageObject{ObjectId(storage, created), name, true};
}

// The new file goes up under a temporary name; the old one is deleted and
// the new one renamed only after the whole file arrived.
bool MtpBackend::SendFile(const std::string& canonicalName, const StorageObject& folder, const std::string& sourcePath,
                          uint16_t formatCode, int* error) {
  std::lock_guard<std::mutex> lock(mutex_);
  Device* device = Open(canonicalName);
  uint32_t storage = 0, object = 0;
  struct stat info {};
  *error = ENODEV;
  if (device == nullptr || !ParseObjectId(folder.id, &storage, &object)) return false;
  if (::stat(sourcePath.c_str(), &info) != 0) {
    *error = errno;
    return false;
  }
  *error = EIO;  // libmtp tells no reason
  std::string name = std::filesystem::path(sourcePath).filename().string();
  std::string temporaryName = "." + name + ".part";
  LIBMTP_file_t* file = LIBMTP_new_file_t();
  file->filename = ::strdup(temporaryName.c_str());
  file->filesize = static_cast<uint64_t>(info.st_size);
  file->filetype = formatCode == kMtpFormatAvi ? LIBMTP_FILETYPE_AVI : LIBMTP_FILETYPE_UNKNOWN;
  file->parent_id = CreationParent(object);
  file->storage_id = storage;
  bool sent = LIBMTP_Send_File_From_File(device, sourcePath.c_str(), file, nullptr, nullptr) == 0;
  if (sent) {
    if (auto old = FindChild(device, storage, object, name, false)) LIBMTP_Delete_Object(device, *old);
    sent = LIBMTP_Set_File_Name(device, file, name.c_str()) == 0;
  }
  LIBMTP_destroy_file_t(file);
  return sent;
}
