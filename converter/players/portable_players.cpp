// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/portable_players.h"

#include <cerrno>
#include <cstring>

#include "converter/core/devices/TesselConfigFile.h"
#include "converter/players/mass_storage_identity.h"
#include "converter/core/support/log_file.h"
#include "converter/players/player_announcements.h"
#include "converter/players/player_window.h"
#include "converter/players/target_folder.h"
#include "converter/players/transfer_outcome.h"
#include "platform/players/logical_drives.h"

namespace {

constexpr const char* kNoSpaceText =
    "WARNING:  The %s player may not have enough free space available to safely proceed with the file transfer.  "
    "Please free some additional space on the player before the file transfer.";
constexpr const char* kNoSpaceCaption = "Norvik KDX Video Converter";

void LogRecord(const char* source, const CTesselItemData& record) {
  WriteLog("**%s** m_szName: \"%s\", m_szUSBFriendlyName: \"%s\", m_pid: \"%s\"", source, record.m_szName.c_str(),
           record.m_szUSBFriendlyName.c_str(), record.m_pid.c_str());
}

}  // namespace

bool PortablePlayers::IsSupportedDevice(CTesselItemData& record) const {
  if (!record.m_vid.empty() || !record.m_pid.empty()) {
    auto entry = m_table.FindDeviceEntry(record.m_vid, record.m_pid);
    if (!entry) return false;
    record.m_szModelName = m_table.GetDevice(*entry).ModelName;
    record.m_szTargetFolder = m_table.GetDevice(*entry).TargetFolder;
    return true;
  }
  if (record.m_guidProtocol != DeviceProtocol::MassStorage || !record.m_pDevice) return false;
  auto volumes = ListVolumeInterfaces();
  if (!volumes) return false;
  for (const UsbVolume& volume : *volumes) {
    if (!SameCanonicalName(volume.devicePath, record.m_pDevice->canonicalName)) continue;
    return TesselMSCIsSupportedVolume(m_table, volume, nullptr, nullptr, &record.m_szModelName,
                                      &record.m_szTargetFolder);
  }
  return false;
}

std::unique_ptr<CTesselItemData> PortablePlayers::SupportedRecord(const PortableDevice& device) const {
  auto record = std::make_unique<CTesselItemData>();
  if (FAILED(record->InitFromDevice(device)) || !IsSupportedDevice(*record)) return nullptr;
  return record;
}

void PortablePlayers::EnumDevices(PortableDeviceService* service, PlayerWindow* window) {
  m_records.clear();
  if (service == nullptr) return;
  for (const PortableDevice& device : service->EnumDevices()) {
    auto record = SupportedRecord(device);
    if (!record) continue;
    LogRecord("EnumDevices", *record);
    if (window != nullptr) {
      AnnouncePlayer(*window, kPlayerDetectedFormat, record->m_szModelName, false);
      window->EnableConvertButton(true);
    }
    m_records.push_back(std::move(record));
  }
}

void PortablePlayers::OnDeviceArrival(PortableDeviceService* service, PlayerWindow* window,
                                      const std::string& canonicalName) {
  if (service == nullptr || window == nullptr) return;
  auto device = service->GetDevice(canonicalName);
  if (!device) return;
  auto record = SupportedRecord(*device);
  if (!record) return;
  LogRecord("CNotificationHandler", *record);
  AnnouncePlayer(*window, kPlayerDetectedFormat, record->m_szModelName, true);
  m_records.push_back(std::move(record));
}

void PortablePlayers::OnDeviceRemoval(PlayerWindow* window, const std::string& canonicalName) {
  if (window == nullptr) return;
  for (auto it = m_records.begin(); it != m_records.end(); ++it) {
    if (!(*it)->m_pDevice || !SameCanonicalName((*it)->m_pDevice->canonicalName, canonicalName)) continue;
    m_records.erase(it);
    if (m_records.empty()) ShowNoPlayer(*window);
    return;
  }
}

bool PortablePlayers::CopyFileToPlayer(CTesselItemData* record, const std::string& path, WarningBox& warnings,
                                       std::string* reason) {
  if (record == nullptr || path.empty() || !record->m_pDevice) return false;
  auto fail = [reason](const std::string& text) {
    if (reason != nullptr) *reason = text;
    return false;
  };
  uint64_t required = 0;
  if (TransferredFileSize(path, &required) && record->m_qwFreeKB * 1024 <= required) {
    warnings.ShowWarning(FormatWithName(kNoSpaceText, record->m_szName), kNoSpaceCaption);
    WriteLog("**CTesselUpdateFirmware_XP::TesselUpdateFirmware** No enough space");
    return fail(TransferFailureReason(ENOSPC));
  }
  PortableDeviceBackend& backend = *record->m_pDevice->backend;
  const std::string& device = record->m_pDevice->canonicalName;
  if (!record->m_pRootStorage) {
    std::vector<StorageObject> storages = backend.ListStorages(device);
    if (storages.empty()) return fail(TransferFailureReason(ENODEV));
    record->m_pRootStorage = storages.front();
  }
  // The user may have deleted the folder since the last transfer.
  record->m_pTargetFolder.reset();
  record->m_pEnumRoot.reset();
  if (!record->FindTargetFolder()) {
    std::optional<StorageObject> folder = record->m_pRootStorage;
    for (const std::string& part : TargetFolderParts(record->m_szTargetFolder)) {
      if (folder) folder = backend.CreateFolder(device, *folder, part);
    }
    if (!folder) {
      WriteLog("**TesselUpdateFirmware** failed to create the system folder!");
      return fail(TransferFailureReason(EIO));
    }
    record->m_pTargetFolder = folder;
  }
  int error = 0;
  if (!backend.SendFile(device, *record->m_pTargetFolder, path, kMtpFormatAvi, &error)) {
    WriteLog("**TesselUpdateFirmware** Copy File(%s) Error! %s", path.c_str(), std::strerror(error));
    return fail(TransferFailureReason(error));
  }
  return true;
}
