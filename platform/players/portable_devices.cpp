// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/portable_devices.h"

#include <strings.h>

#include "platform/players/mass_storage_backend.h"
#include "platform/players/mtp_backend.h"

bool SameCanonicalName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && ::strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

PortableDeviceService::PortableDeviceService(std::vector<std::unique_ptr<PortableDeviceBackend>> backends)
    : backends_(std::move(backends)) {}

std::unique_ptr<PortableDeviceService> PortableDeviceService::CreateDefault() {
  std::vector<std::unique_ptr<PortableDeviceBackend>> backends;
  backends.push_back(std::make_unique<MtpBackend>());
  backends.push_back(std::make_unique<MassStorageBackend>());
  return std::make_unique<PortableDeviceService>(std::move(backends));
}

std::vector<PortableDevice> PortableDeviceService::EnumDevices() {
  std::vector<PortableDevice> devices;
  for (auto& backend : backends_) {
    for (std::string& name : backend->ListDevices()) devices.push_back({backend.get(), std::move(name)});
  }
  return devices;
}

std::optional<PortableDevice> PortableDeviceService::GetDevice(const std::string& canonicalName) {
  for (auto& backend : backends_) {
    if (!backend->Handles(canonicalName)) continue;
    for (std::string& name : backend->ListDevices()) {
      if (SameCanonicalName(name, canonicalName)) return PortableDevice{backend.get(), std::move(name)};
    }
  }
  return std::nullopt;
}
