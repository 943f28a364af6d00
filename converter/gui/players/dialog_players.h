// SPDX-License-Identifier: GPL-2.0-or-later
// Player support as the main window runs it: the first detection while the
// window opens, the device-change notices of the mass-storage path and the
// notifications of the portable-device path (both reach the window as posted
// messages, so they are handled on its thread), and the transfer of a
// converted file. With player support off none of this does anything.
#pragma once

#include <memory>
#include <string>

#include "platform/base/message_window.h"
#include "converter/players/player_detection.h"
#include "converter/players/player_window.h"

class CTesselConfigFile;
class CWMDM;
class DeviceChangeNotices;

// The transfer's warnings: modal boxes without an owner window.
class MessageWarningBox : public WarningBox {
 public:
  void ShowWarning(const std::string& text, const std::string& caption) override;
};

class DialogPlayers {
 public:
  // `window` is the main window and `hwnd` its handle for posted messages;
  // `wmdm` is the started device manager of the portable-device path, or null.
  DialogPlayers(const CTesselConfigFile& table, PlayerSupport support, CWMDM* wmdm, PlayerWindow& window, HWND hwnd);
  // Stops the notices and detaches the window from the device manager.
  ~DialogPlayers();
  DialogPlayers(const DialogPlayers&) = delete;
  DialogPlayers& operator=(const DialogPlayers&) = delete;

  // Detects the players connected now and starts following arrivals and removals.
  void DetectAtStart();
  // Handles the device messages among the window's posted messages; false for others.
  bool HandleMessage(const WindowMessage& message);
  TransferOutcome TransferOutputFile(int row, const std::string& path) { return m_detection.TransferOutputFile(row, path); }
  bool PlayerAttached() const { return m_detection.PlayerAttached(); }

  PlayerDetection& detection() { return m_detection; }

 private:
  PlayerSupport m_support;
  CWMDM* m_wmdm;
  HWND m_hwnd;
  MessageWarningBox m_warnings;
  PlayerDetection m_detection;
  std::unique_ptr<DeviceChangeNotices> m_notices;
};
