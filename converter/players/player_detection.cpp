// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/player_detection.h"

#include "converter/players/WMDM.h"
#include "platform/players/device_change_notices.h"
#include "converter/core/support/log_file.h"
#include "converter/core/support/path_utils.h"
#include "converter/players/player_announcements.h"
#include "converter/players/player_window.h"

namespace {

constexpr const char* kTransferringText = "Transferring output file to your player, please do not disconnect your player!!!";
constexpr const char* kTransferFailedText = "Transfer output video file to player failed!";
constexpr const char* kTransferredToPlayerText = "Output video file has been transferred to player successfully!";
constexpr const char* kTransferredToDeviceText = "Output video file has been transferred to device successfully!";
constexpr const char* kTransferredCaption = "Transfer outputs file to %s after conversion is complete.";

}  // namespace

PlayerDetection::PlayerDetection(const CTesselConfigFile& table, PlayerSupport support, CWMDM* wmdm,
                                 PlayerWindow& window, WarningBox& warnings)
    : m_support(support), m_wmdm(wmdm), m_window(window), m_warnings(warnings), m_msc(table), m_portable(table) {}

void PlayerDetection::DetectAtStart() {
  if (!m_support.m_bDeviceSupport) return;
  if (m_support.m_bWMDMPath) {
    m_portable.EnumDevices(m_wmdm != nullptr ? m_wmdm->DeviceManager() : nullptr, &m_window);
  } else {
    m_msc.EnumDevices(&m_window);
  }
}

bool PlayerDetection::OnDeviceChange(UINT eventType) {
  if (!m_support.m_bDeviceSupport || m_support.m_bWMDMPath) return true;
  if (eventType != DBT_DEVICEARRIVAL && eventType != DBT_DEVICEREMOVECOMPLETE) return true;
  m_msc.EnumDevices(&m_window);
  if (m_msc.records().empty()) ShowNoPlayer(m_window);
  return true;
}

void PlayerDetection::OnDeviceNotifications() {
  if (m_wmdm == nullptr || m_wmdm->Notifications() == nullptr) return;
  for (const WMDM_NOTIFICATION& notification : m_wmdm->Notifications()->TakeNotifications()) {
    if (notification.messageType == WMDM_MSG_DEVICE_ARRIVAL) {
      m_portable.OnDeviceArrival(m_wmdm->DeviceManager(), &m_window, notification.canonicalName);
    } else {
      m_portable.OnDeviceRemoval(&m_window, notification.canonicalName);
    }
  }
}

bool PlayerDetection::PlayerAttached() const {
  if (!m_support.m_bDeviceSupport) return false;
  return m_support.m_bWMDMPath ? !m_portable.records().empty() : !m_msc.records().empty();
}

TransferOutcome PlayerDetection::TransferOutputFile(int row, const std::string& path) {
  TransferOutcome outcome;
  if (!m_window.IsRowEnabled(row) || !FileExists(path) || !m_window.TransferOptionTicked() ||
      !PlayerAttached()) {
    return outcome;
  }
  outcome.attempted = true;
  bool portable = m_support.m_bWMDMPath;
  m_window.SetRowStatus(row, "Transferring... ");
  m_window.SetStatusText(kTransferringText);
  std::string modelName;
  if (portable) {
    CTesselItemData* record = m_portable.records().front().get();
    outcome.copied = m_portable.CopyFileToPlayer(record, path, m_warnings, &outcome.reason);
    if (outcome.copied) record->RefreshStorageSize();
    modelName = record->m_szModelName;
  } else {
    const MSC_DRIVE_RECORD& record = m_msc.records().front();
    outcome.copied = m_msc.CopyFileToPlayer(&record, path, m_warnings, &outcome.reason);
    modelName = record.m_strDeviceName;
  }
  if (!outcome.copied) {
    if (outcome.reason.empty()) outcome.reason = "Copying to the player failed.";
    WriteLog("**TransferOutputFile** %s not copied to %s: %s", path.c_str(), modelName.c_str(), outcome.reason.c_str());
    m_window.SetStatusText(kTransferFailedText);
    return outcome;
  }
  m_window.SetStatusText(portable ? kTransferredToPlayerText : kTransferredToDeviceText);
  m_window.SetTransferOptionCaption(FormatWithName(kTransferredCaption, modelName));
  return outcome;
}
