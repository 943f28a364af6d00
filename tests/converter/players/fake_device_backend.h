// SPDX-License-Identifier: GPL-2.0-or-later
// A portable-device back end whose devices the test lists by hand.
#pragma once

#include <mutex>

#include "platform/players/portable_devices.h"

class FakeDeviceBackend : public PortableDeviceBackend {
 public:
  struct Device {
    std::string canonicalName;
    std::string name;
  };

  FakeDeviceBackend(DeviceProtocol protocol, std::string prefix) : protocol_(protocol), prefix_(std::move(prefix)) {}

  void Add(const std::string& canonicalName, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    devices_.push_back({canonicalName, name});
  }

  bool Handles(const std::string& canonicalName) const override { return canonicalName.rfind(prefix_, 0) == 0; }
  std::vector<std::string> ListDevices() override {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> names;
    for (const Device& d : devices_) names.push_back(d.canonicalName);
    return names;
  }
  std::optional<std::string> DeviceName(const std::string& canonicalName) override {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const Device& d : devices_) {
      if (SameCanonicalName(d.canonicalName, canonicalName)) return d.name;
    }
    return std::nullopt;
  }
  DeviceProtocol Protocol() const override { return protocol_; }
  std::vector<StorageObject> ListStorages(const std::string& canonicalName) override {
    if (!DeviceName(canonicalName)) return {};
    return {StorageObject{"root", "Internal", true}};
  }
  std::optional<StorageCapacity> QueryCapacity(const std::string&, const StorageObject&) override {
    return StorageCapacity{64u << 20, 32u << 20, 0};
  }
  std::optional<std::vector<StorageObject>> ListChildren(const std::string&, const StorageObject&) override {
    return std::vector<StorageObject>{};
  }
  std::optional<StorageObject> CreateFolder(const std::string&, const StorageObject& parent,
                                            const std::string& name) override {
    return StorageObject{parent.id + "/" + name, name, true};
  }
  bool SendFile(const std::string&, const StorageObject& folder, const std::string&, uint16_t formatCode,
                int*) override {
    sent.push_back(folder.id + " " + std::to_string(formatCode));
    return true;
  }

  std::vector<std::string> sent;

 private:
  DeviceProtocol protocol_;
  std::string prefix_;
  std::mutex mutex_;
  std::vector<Device> devices_;
};
