// SPDX-License-Identifier: GPL-2.0-or-later
// Mass-storage identification of players, shared by both detection paths:
// from a drive letter to the volume's unique id, to the USB device behind
// it, to the device table entry of its VID and PID. No state is kept.
#pragma once

#include <cstdint>
#include <string>

#include "platform/players/usb_volumes.h"

class CTesselConfigFile;

// The unique id of the volume "\\.\E:". False (with a log line) when the
// volume cannot be opened or its id is unusable.
bool TesselGetVolumeID(const std::string& volumePath, std::string* volumeId);

// VID and PID of the USB device that holds the volume with that id (leading
// and trailing '\' and '?' already stripped). An identifier longer than
// four characters comes back empty.
bool TesselFindExistingDevice(const std::string& volumeId, std::string* vid, std::string* pid);

// Whether the drive is a player listed in the table; fills the outputs given,
// `volume` with the volume that identifies the player from then on.
bool TesselMSCIsSupportedDevice(const CTesselConfigFile& table, char driveLetter, std::string* vid, std::string* pid,
                                std::string* modelName, std::string* targetFolder, UsbVolume* volume = nullptr);
// The same for a volume already found.
bool TesselMSCIsSupportedVolume(const CTesselConfigFile& table, const UsbVolume& volume, std::string* vid,
                                std::string* pid, std::string* modelName, std::string* targetFolder);

// The full size of the file to transfer; false (logged) when it does not exist.
bool TransferredFileSize(const std::string& path, uint64_t* size);

// The text without the backslashes and question marks at either end.
std::string StripVolumeDecoration(const std::string& text);
