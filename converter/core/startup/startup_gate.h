// SPDX-License-Identifier: GPL-2.0-or-later
// What the converter decides before its window opens: whether player
// support is on, whether players are reached through the device manager or
// as removable drives, and whether the program goes on at all. Only an old
// DirectX, missing administrator rights where they are needed and a device
// manager that does not start end the program.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "converter/core/devices/TesselConfigFile.h"
#include "converter/core/startup/player_support.h"

#include "platform/base/platform_types.h"

class TesselOSEnvironment;

// The messages that end start-up; the window system adds the caption
// "Norvik KDX Video Converter", a warning icon and an OK button.
class StartupMessageBox {
 public:
  virtual ~StartupMessageBox() = default;
  virtual void Show(const std::string& text) = 0;
};

// The device table the player selector lists.
class DeviceTableLoader {
 public:
  virtual ~DeviceTableLoader() = default;
  virtual bool Init() = 0;
  virtual bool GetTesselDeviceNode() = 0;
};

// Loads the table of a CTesselConfigFile: the file beside the program, or
// the one at `path` when given.
class TesselConfigTableLoader : public DeviceTableLoader {
 public:
  explicit TesselConfigTableLoader(CTesselConfigFile& table, std::string path = {})
      : m_table(table), m_strPath(std::move(path)) {}
  bool Init() override { return m_strPath.empty() ? m_table.Init() : m_table.Init(m_strPath); }
  bool GetTesselDeviceNode() override { return m_table.GetTesselDeviceNode(); }

 private:
  CTesselConfigFile& m_table;
  std::string m_strPath;
};

// The device manager of the portable-device path.
class DeviceManagerControl {
 public:
  virtual ~DeviceManagerControl() = default;
  virtual HRESULT Initialize() = 0;
  virtual void Uninitialize() = 0;
};

struct StartupOutcome {
  bool openDialog = false;
  PlayerSupport m_players;
  int m_nWindowsVersion = -1;
  // Both flags on: the device manager was started and must be stopped.
  bool DeviceManagerStarted() const { return openDialog && m_players.m_bDeviceSupport && m_players.m_bWMDMPath; }
};

// The checks in their order, with their messages and log lines; starts the
// device manager on the portable-device path.
StartupOutcome PassStartupGate(TesselOSEnvironment& environment, StartupMessageBox& messageBox,
                               DeviceTableLoader& deviceTable, DeviceManagerControl& deviceManager);

// The whole start: the gate, then `runDialog` when it lets the program on,
// then the device manager's stop when the gate started it.
StartupOutcome RunStartup(TesselOSEnvironment& environment, StartupMessageBox& messageBox,
                          DeviceTableLoader& deviceTable, DeviceManagerControl& deviceManager,
                          const std::function<void(const StartupOutcome&)>& runDialog);
