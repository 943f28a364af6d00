// SPDX-License-Identifier: GPL-2.0-or-later
// One device found through the portable-device service, with what detection
// and transfer learn about it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/platform_types.h"
#include "platform/players/portable_devices.h"

class CTesselItemData {
 public:
  virtual ~CTesselItemData() = default;

  // Reads the device's first storage, name, protocol, identifiers and
  // capacities. Fails when the device has no storage.
  HRESULT InitFromDevice(const PortableDevice& device);
  // Finds the target folder below the root storage (letter case ignored,
  // one level per part of the TargetFolder); the root itself when empty.
  bool FindTargetFolder();
  // Reads the capacities again; a failed query leaves 0.
  HRESULT RefreshStorageSize();

  std::string m_szName;
  std::string m_szTargetFolder;
  std::string m_szUSBFriendlyName;
  std::string m_vid;
  std::string m_pid;
  std::optional<PortableDevice> m_pDevice;
  std::optional<StorageObject> m_pRootStorage;
  uint64_t m_qwTotalKB = 0;
  uint64_t m_qwBadKB = 0;
  uint64_t m_qwFreeKB = 0;
  std::string m_szModelName;
  std::optional<std::vector<StorageObject>> m_pEnumRoot;  // children of the root storage
  std::optional<StorageObject> m_pTargetFolder;
  DeviceProtocol m_guidProtocol = DeviceProtocol::Unknown;

 private:
  bool GetUSBFriendlyName(const std::string& lowerCanonicalName);
};
