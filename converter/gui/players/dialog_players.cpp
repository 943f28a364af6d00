// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/players/dialog_players.h"

#include <QString>

#include "converter/players/WMDM.h"
#include "platform/players/device_change_notices.h"
#include "converter/gui/widgets/message_box.h"

void MessageWarningBox::ShowWarning(const std::string& text, const std::string& caption) {
  MessageBoxWithTimeout(nullptr, QString::fromStdString(text), QString::fromStdString(caption), kMbOk | kMbIconWarning,
                        0);
}

DialogPlayers::DialogPlayers(const CTesselConfigFile& table, PlayerSupport support, CWMDM* wmdm, PlayerWindow& window,
                             HWND hwnd)
    : m_support(support), m_wmdm(wmdm), m_hwnd(hwnd), m_detection(table, support, wmdm, window, m_warnings) {}

DialogPlayers::~DialogPlayers() {
  m_notices.reset();
  if (m_wmdm != nullptr) m_wmdm->AttachMainWindow(nullptr);
}

void DialogPlayers::DetectAtStart() {
  if (!m_support.m_bDeviceSupport) return;
  if (m_support.m_bWMDMPath) {
    // Notifications that come while the first listing runs wait for the window.
    if (m_wmdm != nullptr) m_wmdm->AttachMainWindow(m_hwnd);
  } else {
    m_notices = std::make_unique<DeviceChangeNotices>(m_hwnd);
  }
  m_detection.DetectAtStart();
}

bool DialogPlayers::HandleMessage(const WindowMessage& message) {
  if (message.message == WM_DEVICECHANGE) {
    m_detection.OnDeviceChange(static_cast<UINT>(message.wParam));
    return true;
  }
  if (message.message == WM_WMDM_NOTIFICATION) {
    m_detection.OnDeviceNotifications();
    return true;
  }
  return false;
}
