// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/WMDM.h"

#include "platform/base/message_window.h"
#include "platform/players/portable_device_monitor.h"

void CNotificationHandler::SetWindow(HWND window) {
  std::lock_guard<std::mutex> lock(m_mutex);
  m_window = window;
  if (window == nullptr) m_pending.clear();
}

// Posts under the lock, so a window detached by SetWindow is never posted to.
HRESULT CNotificationHandler::WMDMMessage(uint32_t messageType, const std::string& canonicalName) {
  if (messageType != WMDM_MSG_DEVICE_ARRIVAL && messageType != WMDM_MSG_DEVICE_REMOVAL) return S_OK;
  std::lock_guard<std::mutex> lock(m_mutex);
  if (m_window == nullptr) return S_OK;
  m_pending.push_back({messageType, canonicalName});
  PostMessage(m_window, WM_WMDM_NOTIFICATION, 0, 0);
  return S_OK;
}

std::vector<WMDM_NOTIFICATION> CNotificationHandler::TakeNotifications() {
  std::lock_guard<std::mutex> lock(m_mutex);
  std::vector<WMDM_NOTIFICATION> taken;
  taken.swap(m_pending);
  return taken;
}

CWMDM::CWMDM() = default;

CWMDM::CWMDM(std::unique_ptr<PortableDeviceService> service) : m_pWMDevMgr(std::move(service)) {}

CWMDM::~CWMDM() { Uninitialize(); }

HRESULT CWMDM::Initialize() {
  if (!m_pWMDevMgr) m_pWMDevMgr = PortableDeviceService::CreateDefault();
  m_pNotification = std::make_unique<CNotificationHandler>();
  m_dwCookie = 0xFFFFFFFFu;
  RegisterNotification();
  m_hr = S_OK;
  return m_hr;
}

void CWMDM::AttachMainWindow(HWND window) {
  if (m_pNotification) m_pNotification->SetWindow(window);
}

void CWMDM::Uninitialize() {
  UnregisterNotification();
  m_pNotification.reset();
}

HRESULT CWMDM::RegisterNotification() {
  CNotificationHandler* handler = m_pNotification.get();
  m_pMonitor = std::make_unique<PortableDeviceMonitor>(
      *m_pWMDevMgr, [handler](DeviceNotice notice, const std::string& canonicalName) {
        handler->WMDMMessage(notice == DeviceNotice::Arrival ? WMDM_MSG_DEVICE_ARRIVAL : WMDM_MSG_DEVICE_REMOVAL,
                             canonicalName);
      });
  if (!m_pMonitor->watching()) {
    m_pMonitor.reset();
    return E_FAIL;
  }
  m_dwCookie = 0;
  return S_OK;
}

HRESULT CWMDM::UnregisterNotification() {
  if (m_dwCookie == 0xFFFFFFFFu) return S_FALSE;
  m_pMonitor.reset();  // joins the watch thread before the handler goes
  m_dwCookie = 0xFFFFFFFFu;
  return S_OK;
}
