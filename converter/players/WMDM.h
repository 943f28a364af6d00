// SPDX-License-Identifier: GPL-2.0-or-later
// The connection to the portable-device service for the whole run, and the
// notification handler that carries its arrivals and removals to the main
// window's thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/platform_types.h"
#include "platform/players/portable_devices.h"

class PortableDeviceMonitor;

#define WMDM_MSG_DEVICE_ARRIVAL 0
#define WMDM_MSG_DEVICE_REMOVAL 1
// Posted to the main window when notifications wait for its thread.
#define WM_WMDM_NOTIFICATION (WM_USER + 0x120)

struct WMDM_NOTIFICATION {
  uint32_t messageType = 0;
  std::string canonicalName;
};

class CNotificationHandler {
 public:
  // The main window that hears of notifications (WM_WMDM_NOTIFICATION), or
  // none; set it to none before the window goes.
  void SetWindow(HWND window);

  // From any thread: keeps the notification and wakes the window's thread.
  // Without a main window the notification is dropped.
  HRESULT WMDMMessage(uint32_t messageType, const std::string& canonicalName);
  // On the window's thread: the notifications received so far, in order.
  std::vector<WMDM_NOTIFICATION> TakeNotifications();

 private:
  std::mutex m_mutex;
  HWND m_window = nullptr;
  std::vector<WMDM_NOTIFICATION> m_pending;
};

class CWMDM {
 public:
  // The real back ends (libmtp and the mounted USB volumes).
  CWMDM();
  // Given back ends, for tests.
  explicit CWMDM(std::unique_ptr<PortableDeviceService> service);
  virtual ~CWMDM();

  // Opens the service and starts following arrivals and removals. A service
  // that cannot be watched still counts as started.
  HRESULT Initialize();
  void Uninitialize();
  // The main window that handles the notifications; none before it exists
  // and after it closed.
  void AttachMainWindow(HWND window);

  PortableDeviceService* DeviceManager() const { return m_pWMDevMgr.get(); }
  CNotificationHandler* Notifications() const { return m_pNotification.get(); }

  HRESULT m_hr = S_OK;
  uint32_t m_dwCookie = 0xFFFFFFFFu;  // 0xFFFFFFFF while not following the devices

 private:
  HRESULT RegisterNotification();
  HRESULT UnregisterNotification();

  std::unique_ptr<PortableDeviceService> m_pWMDevMgr;
  std::unique_ptr<CNotificationHandler> m_pNotification;
  std::unique_ptr<PortableDeviceMonitor> m_pMonitor;
};
