// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/startup_gate.h"

#include "converter/core/startup/DirectXVersion.h"
#include "converter/core/startup/TesselOSEnvironment.h"
#include "converter/core/support/log_file.h"

namespace {

// The start-up passes this many characters for the DirectX version text.
constexpr int kDirectXTextCapacity = 10;
// Error lines name the application object's unit, where start-up lives.
const char kUnit[] = "HalvardVideoConverter";

const char kDirectXRequired[] =
    "DirectX 9.0 or above is required in order to properly convert your video. The application has been aborted.";
const char kAdministratorRequired[] =
    "Administrative Rights are required in order to properly detect and upgrade your device.  The Auto Updater has "
    "been aborted.";
const char kDeviceManagerFailed[] = "Init WMDM failed!";

}  // namespace

StartupOutcome PassStartupGate(TesselOSEnvironment& environment, StartupMessageBox& messageBox,
                               DeviceTableLoader& deviceTable, DeviceManagerControl& deviceManager) {
  StartupOutcome outcome;
  // Player support is on until a check below turns it off.
  PlayerSupport& players = outcome.m_players;
  players.m_bDeviceSupport = true;
  if (!environment.IsIE6OrLater()) {
    WriteLog("IE version is lower then 6.0! No device support.");
    players.m_bDeviceSupport = false;
  }

  uint32_t directX = 0;
  char directXText[kDirectXTextCapacity] = "";
  HRESULT found = GetDirectXVersion(&directX, directXText, kDirectXTextCapacity);
  WriteLog("DirextX:v%s", directXText);
  if (FAILED(found) || directX < kDirectX9) {
    messageBox.Show(kDirectXRequired);
    WriteLog("DirectX %s Installed. Application abort.", directXText);
    return outcome;
  }

  outcome.m_nWindowsVersion = environment.GetWindowsVersionCode();
  if (outcome.m_nWindowsVersion == kWindows2000 || outcome.m_nWindowsVersion == kWindowsXP) {
    if (!environment.IsAdministrator()) {
      messageBox.Show(kAdministratorRequired);
      WriteLog("No administrative rights!");
      return outcome;
    }
  } else {
    players.m_bDeviceSupport = false;
  }

  if (outcome.m_nWindowsVersion == kWindowsXP) {
    if (environment.IsWMP10Installed(kWindowsXP)) {
      players.m_bWMDMPath = true;
      WriteLog("WMP10Installed!");
    } else {
      // Player support stays on: such a computer reaches players as drives.
      WriteLog("No WMP10 Installed! No device support.");
    }
  }

  if (!deviceTable.Init()) {
    WriteErrorLog("Init TesselDeviceConfig File Error! No device support.", kUnit, __LINE__);
    players.m_bDeviceSupport = false;
  } else if (!deviceTable.GetTesselDeviceNode()) {
    WriteErrorLog("Read TesselDeviceConfig File Error! No device support.", kUnit, __LINE__);
    players.m_bDeviceSupport = false;
  }

  if (players.m_bWMDMPath && players.m_bDeviceSupport && FAILED(deviceManager.Initialize())) {
    messageBox.Show(kDeviceManagerFailed);
    WriteErrorLog("WMDM Init failed! Application abort", kUnit, __LINE__);
    return outcome;
  }
  outcome.openDialog = true;
  return outcome;
}

StartupOutcome RunStartup(TesselOSEnvironment& environment, StartupMessageBox& messageBox,
                          DeviceTableLoader& deviceTable, DeviceManagerControl& deviceManager,
                          const std::function<void(const StartupOutcome&)>& runDialog) {
  StartupOutcome outcome = PassStartupGate(environment, messageBox, deviceTable, deviceManager);
  if (!outcome.openDialog) return outcome;
  runDialog(outcome);
  if (outcome.DeviceManagerStarted()) deviceManager.Uninitialize();
  return outcome;
}
