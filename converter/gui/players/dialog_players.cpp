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
    : support_(support), wmdm_(wmdm), hwnd_(hwnd), detection_(table, support, wmdm, window, warnings_) {}

DialogPlayers::~DialogPlayers() {
  notices_.reset();
  if (wmdm_ != nullptr) wmdm_->AttachMainWindow(nullptr);
}

void DialogPlayers::DetectAtStart() {
  if (!support_.m_bDeviceSupport) return;
  if (support_.m_bWMDMPath) {
    // Notifications that come while the first listing runs wait for the window.
    if (wmdm_ != nullptr) wmdm_->AttachMainWindow(hwnd_);
  } else {
    notices_ = std::make_unique<DeviceChangeNotices>(hwnd_);
  }
  detection_.DetectAtStart();
}

bool DialogPlayers::HandleMessage(const WindowMessage& message) {
  if (message.message == WM_DEVICECHANGE) {
    detection_.OnDeviceChange(static_cast<UINT>(message.wParam));
    return true;
  }
  if (message.message == WM_WMDM_NOTIFICATION) {
    detection_.OnDeviceNotifications();
    return true;
  }
  return false;
}
