// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/device_change_notices.h"

#include "platform/players/device_roots.h"
#include "platform/players/logical_drives.h"
#include "platform/base/message_window.h"
#include "platform/players/mount_table_watch.h"
#include "platform/players/watch_thread.h"

namespace {

std::set<std::string> LetteredVolumes() {
  std::set<std::string> paths;
  for (const LogicalDrive& drive : ListLogicalDrives()) {
    if (drive.volume) paths.insert(drive.volume->devicePath);
  }
  return paths;
}

bool HasOneMissingIn(const std::set<std::string>& from, const std::set<std::string>& in) {
  for (const std::string& path : from) {
    if (in.count(path) == 0) return true;
  }
  return false;
}

}  // namespace

DeviceChangeNotices::DeviceChangeNotices(HWND window)
    : window_(window),
      volumes_(LetteredVolumes()),
      watch_(std::make_unique<MountTableWatch>(GetDeviceRoots().mountTable)) {
  if (!watching()) return;
  WatchThread::Source source{watch_->fd(), watch_->events(), [this] { return watch_->TakeChange(); }};
  thread_ = std::make_unique<WatchThread>(std::vector<WatchThread::Source>{source}, [this] { OnMountTableChange(); });
}

DeviceChangeNotices::~DeviceChangeNotices() { thread_.reset(); }

bool DeviceChangeNotices::watching() const { return watch_->fd() >= 0; }

// Runs on the watch thread only, so volumes_ needs no lock.
void DeviceChangeNotices::OnMountTableChange() {
  std::set<std::string> now = LetteredVolumes();
  bool added = HasOneMissingIn(now, volumes_);
  bool removed = HasOneMissingIn(volumes_, now);
  volumes_ = std::move(now);
  if (added) PostMessage(window_, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  if (removed) PostMessage(window_, WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0);
}
