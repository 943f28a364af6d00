// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/mass_storage_players.h"

#include <cerrno>
#include <cstring>

#include "converter/players/mass_storage_identity.h"
#include "converter/core/support/log_file.h"
#include "platform/players/logical_drives.h"
#include "converter/core/support/path_utils.h"
#include "converter/players/player_announcements.h"
#include "platform/players/player_file_copy.h"
#include "converter/players/player_window.h"
#include "converter/players/target_folder.h"
#include "converter/players/transfer_outcome.h"

// Trace lines name the Windows class and method this code stands for, so a
// trace log still reads against that design.
namespace {

constexpr const char* kNoSpaceText =
    "WARNING:  The %s device may not have enough free space available to safely proceed with the file transfer.  "
    "Please free some additional space on the device before the file transfer.";
constexpr const char* kNoSpaceCaption = "Halvard Video Converter";

std::string DriveRoot(char letter) { return std::string(1, letter) + ":\\"; }

bool Fail(std::string* reason, const std::string& text) {
  if (reason != nullptr) *reason = text;
  return false;
}

// The drive the player's volume has now, whatever its letter.
std::optional<LogicalDrive> PlayerDrive(const MSC_DRIVE_RECORD& record) {
  for (LogicalDrive& drive : ListLogicalDrives()) {
    if (drive.volume && SameVolume(*drive.volume, record.m_volume)) return drive;
  }
  return std::nullopt;
}

}  // namespace

std::vector<char> CandidatePlayerDrives(uint32_t driveMask, const std::function<UINT(const std::string&)>& driveType) {
  std::vector<char> letters;
  for (char letter = 'C'; letter <= 'Z'; ++letter) {
    if ((driveMask & (1u << (letter - 'A'))) == 0) continue;
    if (driveType(DriveRoot(letter)) == DRIVE_REMOVABLE) letters.push_back(letter);
  }
  return letters;
}

MassStoragePlayers::MassStoragePlayers(const CTesselConfigFile& table)
    : MassStoragePlayers(table, GetDiskFreeSpaceEx) {}

MassStoragePlayers::MassStoragePlayers(const CTesselConfigFile& table, FreeSpaceQuery freeSpace)
    : m_table(table), m_freeSpace(std::move(freeSpace)) {}

void MassStoragePlayers::EnumDevices(PlayerWindow* window) {
  if (window == nullptr) return;
  m_records.clear();
  for (char letter : CandidatePlayerDrives(GetLogicalDrives(), GetDriveType)) {
    MSC_DRIVE_RECORD record;
    record.m_chDrive = letter;
    if (!TesselMSCIsSupportedDevice(m_table, letter, &record.m_vid, &record.m_pid, &record.m_strDeviceName,
                                    &record.m_strTargetFolder, &record.m_volume)) {
      continue;
    }
    m_records.push_back(record);
    WriteLog("**CTesselUpdateFirmware_2K::EnumDevices** DriverLetter: \"%c\", DeviceName: \"%s\", m_pid: \"%s\"", letter,
             record.m_strDeviceName.c_str(), record.m_pid.c_str());
    AnnouncePlayer(*window, kDeviceDetectedFormat, record.m_strDeviceName, true);
  }
}

bool MassStoragePlayers::CopyFileToPlayer(const MSC_DRIVE_RECORD* record, const std::string& path, WarningBox& warnings,
                                          std::string* reason) {
  if (record == nullptr || path.empty()) return false;
  auto drive = PlayerDrive(*record);
  if (!drive) {
    WriteLog("**CTesselUpdateFirmware_2K::TesselUpdateFirmware** the player on %c: is gone", record->m_chDrive);
    return Fail(reason, TransferFailureReason(ENODEV));
  }
  uint64_t required = 0;
  if (TransferredFileSize(path, &required)) {
    uint64_t freeBytes = 0;
    if (!m_freeSpace(DriveRoot(drive->letter), &freeBytes)) {
      KDX_ERROR_LOG("GetDiskFreeSpaceEx failed!");
      return Fail(reason, TransferFailureReason(EIO));
    }
    if (freeBytes <= required) {
      warnings.ShowWarning(FormatWithName(kNoSpaceText, record->m_strDeviceName), kNoSpaceCaption);
      WriteLog("**CTesselUpdateFirmware_2K::TesselUpdateFirmware** No enough space");
      return Fail(reason, TransferFailureReason(ENOSPC));
    }
  }
  std::string folder = JoinTargetFolder(drive->mountPoint, record->m_strTargetFolder);
  int error = 0;
  if (!CreateDirectoryTree(folder, &error)) {
    KDX_ERROR_LOG("Create sytem folder error!");
    WriteLog("Create %s failed: %s", folder.c_str(), std::strerror(error));
    return Fail(reason, TransferFailureReason(error));
  }
  if (!FileExists(path)) {
    KDX_ERROR_LOG("The output file is not existed!");
    return Fail(reason, "The converted file is missing.");
  }
  if (!CopyToPlayerFolder(path, drive->mountPoint, folder, drive->volume->fileSystem, &error)) {
    std::string target = folder + (folder.back() == '/' ? "" : "/") + PlayerFileName(GetFileName(path), drive->volume->fileSystem);
    WriteLog("Error copying %s to %s (GetLastError() = %s). ", path.c_str(), target.c_str(), std::strerror(error));
    return Fail(reason, TransferFailureReason(error));
  }
  return true;
}
