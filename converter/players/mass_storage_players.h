// SPDX-License-Identifier: GPL-2.0-or-later
// The players connected as USB drives: the list the mass-storage path keeps,
// its enumeration and the copy of a converted file onto such a player.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/base/platform_types.h"
#include "platform/players/usb_volumes.h"

class CTesselConfigFile;
class PlayerWindow;
class WarningBox;

struct MSC_DRIVE_RECORD {
  char m_chDrive = 'C';  // the letter when detected; letters are given anew on every listing
  UsbVolume m_volume;    // the player's volume: a transfer goes there or nowhere
  std::string m_vid;
  std::string m_pid;
  std::string m_strDeviceName;    // model name from the device table
  std::string m_strTargetFolder;  // folder on the player, '\' separated
};

// The drive letters worth probing for players in letter order: existing
// removable drives from C: on. The type of A: and B: is never even asked.
std::vector<char> CandidatePlayerDrives(uint32_t driveMask, const std::function<UINT(const std::string&)>& driveType);

class MassStoragePlayers {
 public:
  // Free bytes for the caller below a drive root ("E:\").
  using FreeSpaceQuery = std::function<bool(const std::string& root, uint64_t* freeBytes)>;

  explicit MassStoragePlayers(const CTesselConfigFile& table);
  MassStoragePlayers(const CTesselConfigFile& table, FreeSpaceQuery freeSpace);

  // Rebuilds the list from the drives present and announces every player
  // found. Does nothing without a main window.
  void EnumDevices(PlayerWindow* window);

  // Copies the file into the player's target folder; true only when the
  // copy is complete on the player. A failure leaves any older copy there
  // and tells why in *reason (when given).
  bool CopyFileToPlayer(const MSC_DRIVE_RECORD* record, const std::string& path, WarningBox& warnings,
                        std::string* reason = nullptr);

  const std::vector<MSC_DRIVE_RECORD>& records() const { return m_records; }

 private:
  const CTesselConfigFile& m_table;
  FreeSpaceQuery m_freeSpace;
  std::vector<MSC_DRIVE_RECORD> m_records;
};
