// The players found through the portable-device service: the list the
// portable-device path keeps, its enumeration, arrivals and removals, and
// the copy of a converted file onto such a player.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "TesselItemData.h"

class CTesselConfigFile;
class PlayerWindow;
class WarningBox;

class CTesselUpdateFirmware_XP {
 public:
  explicit CTesselUpdateFirmware_XP(const CTesselConfigFile& table) : m_table(table) {}

  // Rebuilds the list from the devices present and announces each player
  // (no conversion can run yet). Without a service the list stays empty.
  void EnumDevices(PortableDeviceService* service, PlayerWindow* window);
  // Whether the device is a listed player; fills its model name and target folder.
  bool IsSupportedDevice(CTesselItemData& record) const;
  // A device arrived: a listed player is appended (again, if already there)
  // and announced. Runs on the main window's thread.
  void OnDeviceArrival(PortableDeviceService* service, PlayerWindow* window, const std::string& canonicalName);
  // A device went: its first record leaves the list; ShowNoPlayer when none is left.
  void OnDeviceRemoval(PlayerWindow* window, const std::string& canonicalName);

  // Copies the file into the player's target folder, creating it when
  // missing; true only when the copy is complete.
  bool TesselUpdateFirmware(CTesselItemData* record, const std::string& path, WarningBox& warnings);

  const std::vector<std::unique_ptr<CTesselItemData>>& records() const { return m_records; }

 private:
  // Builds and checks a record; nothing when the device is not a listed player.
  std::unique_ptr<CTesselItemData> SupportedRecord(const PortableDevice& device) const;

  const CTesselConfigFile& m_table;
  std::vector<std::unique_ptr<CTesselItemData>> m_records;
};

// The drive letter in a mass-storage device name "LABEL (E:)", '\0' when it
// holds none; `isMtp` is set for MTP devices, which have no letter.
char GetDriveLetterFromName(const CTesselItemData& record, bool* isMtp);
