// SPDX-License-Identifier: GPL-2.0-or-later
// Portable-device back end for MTP players through libmtp. A player's
// canonical name is "\\?\usb#vid_xxxx&pid_xxxx#mtpBUS.DEV#{…}" from its USB
// identifiers and bus position; the first storage receives files, which are
// sent tagged with the format code the caller gives.
#pragma once

#include <map>
#include <mutex>

#include "platform/players/portable_devices.h"

struct LIBMTP_mtpdevice_struct;

class MtpBackend : public PortableDeviceBackend {
 public:
  MtpBackend();
  ~MtpBackend() override;

  bool Handles(const std::string& canonicalName) const override;
  std::vector<std::string> ListDevices() override;
  std::optional<std::string> DeviceName(const std::string& canonicalName) override;
  DeviceProtocol Protocol() const override { return DeviceProtocol::Mtp; }
  std::vector<StorageObject> ListStorages(const std::string& canonicalName) override;
  std::optional<StorageCapacity> QueryCapacity(const std::string& canonicalName, const StorageObject& storage) override;
  std::optional<std::vector<StorageObject>> ListChildren(const std::string& canonicalName,
                                                         const StorageObject& folder) override;
  std::optional<StorageObject> CreateFolder(const std::string& canonicalName, const StorageObject& parent,
                                            const std::string& name) override;
  bool SendFile(const std::string& canonicalName, const StorageObject& folder, const std::string& sourcePath,
                uint16_t formatCode, int* error) override;

 private:
  using Device = LIBMTP_mtpdevice_struct;
  // The open connection to a present player; closes the ones that went.
  Device* Open(const std::string& canonicalName);

  std::mutex mutex_;  // the watch thread lists devices while the UI thread sends
  std::map<std::string, Device*> open_;
};
