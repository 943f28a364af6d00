// SPDX-License-Identifier: GPL-2.0-or-later
// Player detection and transfer as the main window uses them: the first
// detection when it opens, the device-change notices of the mass-storage
// path, the notifications of the portable-device path, and the transfer of
// a converted file to the first detected player.
#pragma once

#include <string>

#include "converter/core/startup/player_support.h"
#include "converter/players/mass_storage_players.h"
#include "converter/players/portable_players.h"
#include "platform/base/platform_types.h"
#include "converter/players/transfer_outcome.h"

class CTesselConfigFile;
class CWMDM;
class PlayerWindow;
class WarningBox;

class PlayerDetection {
 public:
  // `wmdm` is the started connection on the portable-device path (may be null).
  PlayerDetection(const CTesselConfigFile& table, PlayerSupport support, CWMDM* wmdm, PlayerWindow& window,
                  WarningBox& warnings);

  // The first detection while the main window opens.
  void DetectAtStart();
  // The handler of WM_DEVICECHANGE; true in every case.
  bool OnDeviceChange(UINT eventType);
  // The handler of WM_WMDM_NOTIFICATION.
  void OnDeviceNotifications();
  // Copies a converted file to the first player when the transfer option is
  // ticked, with the status texts; says whether it was tried, whether the
  // file reached the player and why not.
  TransferOutcome TransferOutputFile(int row, const std::string& path);
  // A supported player is attached on the path in use.
  bool PlayerAttached() const;

  MassStoragePlayers& massStoragePlayers() { return m_msc; }
  PortablePlayers& portablePlayers() { return m_portable; }

 private:
  PlayerSupport m_support;
  CWMDM* m_wmdm;
  PlayerWindow& m_window;
  WarningBox& m_warnings;
  MassStoragePlayers m_msc;
  PortablePlayers m_portable;
};
