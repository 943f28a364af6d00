// SPDX-License-Identifier: GPL-2.0-or-later
// Portable-device back end for the mounted USB volumes: each lettered volume
// is a mass-storage device named "LABEL (E:)" whose canonical name is the
// volume's interface path, with one storage, its mount point.
#pragma once

#include "platform/players/portable_devices.h"

class MassStorageBackend : public PortableDeviceBackend {
 public:
  bool Handles(const std::string& canonicalName) const override;
  std::vector<std::string> ListDevices() override;
  std::optional<std::string> DeviceName(const std::string& canonicalName) override;
  DeviceProtocol Protocol() const override { return DeviceProtocol::MassStorage; }
  std::vector<StorageObject> ListStorages(const std::string& canonicalName) override;
  std::optional<StorageCapacity> QueryCapacity(const std::string& canonicalName, const StorageObject& storage) override;
  std::optional<std::vector<StorageObject>> ListChildren(const std::string& canonicalName,
                                                         const StorageObject& folder) override;
  std::optional<StorageObject> CreateFolder(const std::string& canonicalName, const StorageObject& parent,
                                            const std::string& name) override;
  bool SendFile(const std::string& canonicalName, const StorageObject& folder, const std::string& sourcePath,
                uint16_t formatCode, int* error) override;
};
