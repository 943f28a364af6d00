// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/portable_device_monitor.h"

#include <poll.h>

#include <algorithm>

#include "platform/players/device_roots.h"
#include "platform/players/mount_table_watch.h"
#include "platform/players/usb_hotplug_monitor.h"
#include "platform/players/watch_thread.h"

namespace {

std::vector<std::string> PresentNames(PortableDeviceService& service) {
  std::vector<std::string> names;
  for (PortableDevice& device : service.EnumDevices()) names.push_back(std::move(device.canonicalName));
  return names;
}

// The names of `from` that `in` lacks.
std::vector<std::string> Missing(const std::vector<std::string>& from, const std::vector<std::string>& in) {
  std::vector<std::string> missing;
  for (const std::string& name : from) {
    if (std::find(in.begin(), in.end(), name) == in.end()) missing.push_back(name);
  }
  return missing;
}

}  // namespace

PortableDeviceMonitor::PortableDeviceMonitor(PortableDeviceService& service, Receiver receiver)
    : service_(service),
      receiver_(std::move(receiver)),
      known_(PresentNames(service)),
      usb_(std::make_unique<UsbHotplugMonitor>()),
      mounts_(std::make_unique<MountTableWatch>(GetDeviceRoots().mountTable)) {
  std::vector<WatchThread::Source> sources;
  if (usb_->fd() >= 0) sources.push_back({usb_->fd(), POLLIN, [this] { return usb_->TakeChange(); }});
  if (mounts_->fd() >= 0) sources.push_back({mounts_->fd(), mounts_->events(), [this] { return mounts_->TakeChange(); }});
  if (sources.empty()) return;
  thread_ = std::make_unique<WatchThread>(std::move(sources), [this] { Rescan(); });
}

PortableDeviceMonitor::~PortableDeviceMonitor() { thread_.reset(); }

// Runs on the watch thread only, so known_ needs no lock.
void PortableDeviceMonitor::Rescan() {
  std::vector<std::string> now = PresentNames(service_);
  for (const std::string& name : Missing(known_, now)) receiver_(DeviceNotice::Removal, name);
  for (const std::string& name : Missing(now, known_)) receiver_(DeviceNotice::Arrival, name);
  known_ = std::move(now);
}
