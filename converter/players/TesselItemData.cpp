// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/TesselItemData.h"

#include <strings.h>

#include "platform/base/ascii_case.h"
#include "platform/players/logical_drives.h"
#include "converter/players/target_folder.h"

namespace {

constexpr size_t kLongestName = 259;
constexpr size_t kIdLength = 4;

std::optional<StorageObject> FindFolderNamed(const std::vector<StorageObject>& children, const std::string& name) {
  for (const StorageObject& child : children) {
    if (child.isFolder && ::strcasecmp(child.name.c_str(), name.c_str()) == 0) return child;
  }
  return std::nullopt;
}

}  // namespace

HRESULT CTesselItemData::InitFromDevice(const PortableDevice& device) {
  std::vector<StorageObject> storages = device.backend->ListStorages(device.canonicalName);
  if (storages.empty()) return E_FAIL;
  m_pRootStorage = storages.front();
  m_szName = device.backend->DeviceName(device.canonicalName).value_or("").substr(0, kLongestName);
  m_pDevice = device;
  m_guidProtocol = device.backend->Protocol();
  std::string name = AsciiLower(device.canonicalName.substr(0, kLongestName));
  if (name.rfind("\\\\?\\usb", 0) == 0) {
    size_t vid = name.find("vid_");
    if (vid != std::string::npos) {
      m_vid = name.substr(vid + 4, kIdLength);
      size_t pid = name.find("pid_");
      if (pid != std::string::npos) m_pid = name.substr(pid + 4, kIdLength);
    }
  } else if (name.rfind("\\\\?\\storage", 0) == 0) {
    GetUSBFriendlyName(name);
  }
  RefreshStorageSize();
  return S_OK;
}

// The friendly name of the USB disk whose id prefix starts the volume's
// instance part of the canonical name. Only logged.
bool CTesselItemData::GetUSBFriendlyName(const std::string& lowerCanonicalName) {
  const std::string marker = "#removablemedia#";
  size_t at = lowerCanonicalName.find(marker);
  if (at == std::string::npos) return false;
  std::string instance = lowerCanonicalName.substr(at + marker.size(), 11);
  auto volumes = ListVolumeInterfaces();
  if (!volumes) return false;
  for (const UsbVolume& volume : *volumes) {
    const std::string& prefix = volume.parentIdPrefix;
    if (prefix.size() <= instance.size() && instance.compare(0, prefix.size(), prefix) == 0) {
      m_szUSBFriendlyName = volume.friendlyName;
      return true;
    }
  }
  return false;
}

bool CTesselItemData::FindTargetFolder() {
  if (m_pTargetFolder) return true;
  if (!m_pDevice || !m_pRootStorage) return false;
  if (!m_pEnumRoot) m_pEnumRoot = m_pDevice->backend->ListChildren(m_pDevice->canonicalName, *m_pRootStorage);
  if (!m_pEnumRoot) return false;
  std::vector<std::string> parts = TargetFolderParts(m_szTargetFolder);
  if (parts.empty()) {
    m_pTargetFolder = m_pRootStorage;
    return true;
  }
  std::optional<StorageObject> folder = FindFolderNamed(*m_pEnumRoot, parts.front());
  for (size_t i = 1; folder && i < parts.size(); ++i) {
    auto children = m_pDevice->backend->ListChildren(m_pDevice->canonicalName, *folder);
    folder = children ? FindFolderNamed(*children, parts[i]) : std::nullopt;
  }
  if (!folder) return false;
  m_pTargetFolder = folder;
  return true;
}

HRESULT CTesselItemData::RefreshStorageSize() {
  std::optional<StorageCapacity> capacity;
  if (m_pDevice && m_pRootStorage) capacity = m_pDevice->backend->QueryCapacity(m_pDevice->canonicalName, *m_pRootStorage);
  m_qwTotalKB = capacity ? capacity->totalBytes >> 10 : 0;
  m_qwBadKB = capacity ? capacity->badBytes >> 10 : 0;
  m_qwFreeKB = capacity ? capacity->freeBytes >> 10 : 0;
  return S_OK;
}
