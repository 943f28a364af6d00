// SPDX-License-Identifier: GPL-2.0-or-later
// The portable-device service: players reached as devices with storages and
// folders rather than as drives. Each kind of device has its own back end
// (MTP players through libmtp, USB volumes as mass-storage devices); the
// service asks every back end and hands out devices by canonical name.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

enum class DeviceProtocol { Unknown, Mtp, MassStorage };

// The object format code of AVI files in the Media Transfer Protocol.
constexpr uint16_t kMtpFormatAvi = 0x300A;

struct StorageCapacity {
  uint64_t totalBytes = 0;
  uint64_t freeBytes = 0;
  uint64_t badBytes = 0;
};

// A storage, folder or file on a device. `id` is the back end's own reference.
struct StorageObject {
  std::string id;
  std::string name;
  bool isFolder = false;
};

class PortableDeviceBackend {
 public:
  virtual ~PortableDeviceBackend() = default;
  // Whether a canonical name has this back end's form.
  virtual bool Handles(const std::string& canonicalName) const = 0;
  // Canonical names of the devices present now. Safe to call from a watch
  // thread while the user-interface thread works with a device.
  virtual std::vector<std::string> ListDevices() = 0;
  // The device's own name; nothing when it is not present.
  virtual std::optional<std::string> DeviceName(const std::string& canonicalName) = 0;
  virtual DeviceProtocol Protocol() const = 0;
  // The device's storages, the first one first.
  virtual std::vector<StorageObject> ListStorages(const std::string& canonicalName) = 0;
  virtual std::optional<StorageCapacity> QueryCapacity(const std::string& canonicalName,
                                                       const StorageObject& storage) = 0;
  // The direct children of a storage or folder; nothing when they cannot be read.
  virtual std::optional<std::vector<StorageObject>> ListChildren(const std::string& canonicalName,
                                                                 const StorageObject& folder) = 0;
  // Makes a folder below `parent`, or finds the one already there.
  virtual std::optional<StorageObject> CreateFolder(const std::string& canonicalName, const StorageObject& parent,
                                                    const std::string& name) = 0;
  // Copies a file into `folder` under its own name, replacing a file of that
  // name only once the new copy is complete. `formatCode` tags the file's
  // kind where the device keeps one. On failure *error holds an errno value
  // (ENODEV when the device has gone).
  virtual bool SendFile(const std::string& canonicalName, const StorageObject& folder, const std::string& sourcePath,
                        uint16_t formatCode, int* error) = 0;
};

// One present device and the back end that reaches it.
struct PortableDevice {
  PortableDeviceBackend* backend = nullptr;
  std::string canonicalName;
};

class PortableDeviceService {
 public:
  explicit PortableDeviceService(std::vector<std::unique_ptr<PortableDeviceBackend>> backends);
  // The real back ends: libmtp and the mounted USB volumes.
  static std::unique_ptr<PortableDeviceService> CreateDefault();

  std::vector<PortableDevice> EnumDevices();
  // The device of that canonical name (letter case ignored) when it is present.
  std::optional<PortableDevice> GetDevice(const std::string& canonicalName);

 private:
  std::vector<std::unique_ptr<PortableDeviceBackend>> backends_;
};

// Letter case ignored, as canonical names are compared everywhere.
bool SameCanonicalName(const std::string& a, const std::string& b);
