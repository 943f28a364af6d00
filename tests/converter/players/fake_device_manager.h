// SPDX-License-Identifier: GPL-2.0-or-later
// A device manager (not yet started) whose only back end is a fake MTP one
// the test lists players on by hand.
#pragma once

#include <memory>
#include <vector>

#include "converter/players/WMDM.h"
#include "tests/converter/players/fake_device_backend.h"

struct FakeDeviceManager {
  FakeDeviceManager() {
    auto mtp = std::make_unique<FakeDeviceBackend>(DeviceProtocol::Mtp, "\\\\?\\USB");
    backend = mtp.get();
    std::vector<std::unique_ptr<PortableDeviceBackend>> backends;
    backends.push_back(std::move(mtp));
    wmdm = std::make_unique<CWMDM>(std::make_unique<PortableDeviceService>(std::move(backends)));
  }

  FakeDeviceBackend* backend = nullptr;
  std::unique_ptr<CWMDM> wmdm;
};
