// SPDX-License-Identifier: GPL-2.0-or-later
// The players found through the portable-device service: the list the
// portable-device path keeps, its enumeration, arrivals and removals, and
// the copy of a converted file onto such a player.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "converter/players/TesselItemData.h"

class CTesselConfigFile;
class PlayerWindow;
class WarningBox;

class PortablePlayers {
 public:
  explicit PortablePlayers(const CTesselConfigFile& table) : m_table(table) {}

  // Rebuilds the list from the devices present and announces each player
  // (no conversion can run yet). Without a service the list stays empty.
  void EnumDevices(PortableDeviceService* service, PlayerWindow* window);
  // Whether the device is a listed player; fills its model name and target
  // folder. A mass-storage device is known by its volume's interface path,
  // never by the text of its name.
  bool IsSupportedDevice(CTesselItemData& record) const;
  // A device arrived: a listed player is appended (again, if already there)
  // and announced. Runs on the main window's thread.
  void OnDeviceArrival(PortableDeviceService* service, PlayerWindow* window, const std::string& canonicalName);
  // A device went: its first record leaves the list; ShowNoPlayer when none is left.
  void OnDeviceRemoval(PlayerWindow* window, const std::string& canonicalName);

  // Copies the file into the player's target folder, looked up afresh and
  // created when missing; true only when the copy is complete. Tells why it
  // failed in *reason (when given).
  bool CopyFileToPlayer(CTesselItemData* record, const std::string& path, WarningBox& warnings,
                        std::string* reason = nullptr);

  const std::vector<std::unique_ptr<CTesselItemData>>& records() const { return m_records; }

 private:
  // Builds and checks a record; nothing when the device is not a listed player.
  std::unique_ptr<CTesselItemData> SupportedRecord(const PortableDevice& device) const;

  const CTesselConfigFile& m_table;
  std::vector<std::unique_ptr<CTesselItemData>> m_records;
};
