// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/players/usb_volumes.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/base/ascii_case.h"
#include "platform/players/mount_table.h"

namespace fs = std::filesystem;

namespace {

// Interface class of volumes, as the desktop platform names it.
constexpr const char* kVolumeInterfaceClass = "{53f5630d-b6bf-11d0-94f2-00a0c91efb8b}";

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

std::string ReadAttribute(const fs::path& folder, const char* name) {
  std::ifstream in(folder / name);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Trim(text);
}

bool HasAttribute(const fs::path& folder, const char* name) {
  std::error_code ignored;
  return fs::is_regular_file(folder / name, ignored);
}

int ReadNumber(const fs::path& folder, const char* name, int fallback) {
  try {
    return std::stoi(ReadAttribute(folder, name));
  } catch (const std::exception&) {
    return fallback;
  }
}

// Inquiry text as the platform writes it into instance ids: upper case,
// spaces turned into underscores, cut to the field's width.
std::string InstanceField(const std::string& text, size_t width) {
  std::string out = AsciiUpper(text.substr(0, width));
  for (char& c : out) {
    if (c == ' ') c = '_';
  }
  return out;
}

std::string HashPrefix(const std::string& identity) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : identity) hash = (hash ^ c) * 16777619u;
  char text[16];
  std::snprintf(text, sizeof text, "7&%07x&0", hash & 0x0FFFFFFFu);
  return text;
}

// A FUSE block volume (exFAT or NTFS through FUSE) has no device numbers of
// its own in the table; its source names the block device.
bool ResolveFuseDevice(const DeviceRoots& roots, MountEntry& mount) {
  if (mount.major != 0) return true;
  if (mount.fileSystem != "fuseblk" || mount.source.rfind("/dev/", 0) != 0) return false;
  std::string numbers = ReadAttribute(fs::path(roots.sysfs) / "class/block" / fs::path(mount.source).filename(), "dev");
  return std::sscanf(numbers.c_str(), "%u:%u", &mount.major, &mount.minor) == 2 && mount.major != 0;
}

// The mount of each volume's root that the player code uses, in the order
// the volumes first appear.
std::vector<MountEntry> RootMounts(const DeviceRoots& roots, std::vector<MountEntry> mounts) {
  std::vector<MountEntry> chosen;
  for (MountEntry& mount : mounts) {
    if (mount.root != "/" || !ResolveFuseDevice(roots, mount)) continue;
    auto same = std::find_if(chosen.begin(), chosen.end(), [&](const MountEntry& m) {
      return m.major == mount.major && m.minor == mount.minor;
    });
    if (same == chosen.end()) {
      chosen.push_back(mount);
    } else if (same->readOnly && !mount.readOnly) {
      *same = mount;
    }
  }
  return chosen;
}

std::optional<UsbVolume> ProbeVolume(const DeviceRoots& roots, const MountEntry& mount) {
  std::error_code error;
  fs::path link = fs::path(roots.sysfs) / "dev/block" / (std::to_string(mount.major) + ":" + std::to_string(mount.minor));
  fs::path block = fs::canonical(link, error);
  if (error) return std::nullopt;
  fs::path disk = HasAttribute(block, "partition") ? block.parent_path() : block;
  fs::path inquiry;  // the SCSI device with vendor, model and revision
  fs::path usbInterface;
  fs::path usbDevice;
  for (fs::path folder = disk.parent_path(); folder.has_relative_path(); folder = folder.parent_path()) {
    if (inquiry.empty() && HasAttribute(folder, "vendor") && HasAttribute(folder, "model")) inquiry = folder;
    if (usbInterface.empty() && HasAttribute(folder, "bInterfaceNumber")) usbInterface = folder;
    if (HasAttribute(folder, "idVendor") && HasAttribute(folder, "idProduct")) {
      usbDevice = folder;
      break;
    }
    if (folder == folder.parent_path()) break;
  }
  if (usbDevice.empty()) return std::nullopt;

  UsbVolume volume;
  volume.blockName = block.filename().string();
  volume.major = mount.major;
  volume.minor = mount.minor;
  volume.mountPoint = mount.mountPoint;
  volume.fileSystem = mount.fileSystem;
  volume.label = fs::path(mount.mountPoint).filename().string();
  volume.idVendor = ReadAttribute(usbDevice, "idVendor");
  volume.idProduct = ReadAttribute(usbDevice, "idProduct");
  volume.serial = ReadAttribute(usbDevice, "serial");
  volume.busNumber = ReadNumber(usbDevice, "busnum", 0);
  volume.deviceNumber = ReadNumber(usbDevice, "devnum", 0);
  std::string vendor = inquiry.empty() ? std::string() : ReadAttribute(inquiry, "vendor");
  std::string model = inquiry.empty() ? std::string() : ReadAttribute(inquiry, "model");
  std::string revision = inquiry.empty() ? std::string() : ReadAttribute(inquiry, "rev");

  // Another stick in the same port gets other identifiers.
  volume.parentIdPrefix = HashPrefix(usbDevice.string() + "|" + volume.blockName + "|" + volume.idVendor + ":" +
                                     volume.idProduct + "|" + volume.serial + "|" + std::to_string(mount.major) +
                                     ":" + std::to_string(mount.minor));
  volume.friendlyName = Trim(vendor + " " + model) + " USB Device";
  std::string interfaceName = std::string("STORAGE#RemovableMedia#") + volume.parentIdPrefix + "&RM#" + kVolumeInterfaceClass;
  volume.uniqueId = "\\??\\" + interfaceName;
  volume.devicePath = "\\\\?\\" + interfaceName;
  std::string instance = volume.serial.empty() ? volume.parentIdPrefix : volume.serial;
  volume.diskInstanceId = "USBSTOR\\DISK&VEN_" + InstanceField(vendor, 8) + "&PROD_" + InstanceField(model, 16) +
                          "&REV_" + InstanceField(revision, 4) + "\\" + instance + "&0";
  volume.usbInstanceId = "USB\\VID_" + AsciiUpper(volume.idVendor) + "&PID_" + AsciiUpper(volume.idProduct);
  // A device with several interfaces gives each its own node; the disk
  // hangs below its interface's node.
  if (!usbInterface.empty() && ReadNumber(usbDevice, "bNumInterfaces", 1) > 1) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "&MI_%02X", ReadNumber(usbInterface, "bInterfaceNumber", 0) & 0xFF);
    volume.usbInstanceId += suffix;
  }
  volume.usbInstanceId += "\\" + instance;
  return volume;
}

}  // namespace

std::optional<std::vector<UsbVolume>> ListMountedUsbVolumes(const DeviceRoots& roots) {
  auto mounts = ReadMountTable(roots.mountTable);
  if (!mounts) return std::nullopt;
  std::vector<UsbVolume> volumes;
  for (const MountEntry& mount : RootMounts(roots, std::move(*mounts))) {
    if (auto volume = ProbeVolume(roots, mount)) volumes.push_back(*volume);
  }
  std::stable_sort(volumes.begin(), volumes.end(),
                   [](const UsbVolume& a, const UsbVolume& b) { return a.mountPoint < b.mountPoint; });
  return volumes;
}

bool SameVolume(const UsbVolume& a, const UsbVolume& b) {
  return a.major == b.major && a.minor == b.minor && a.serial == b.serial && a.idVendor == b.idVendor &&
         a.idProduct == b.idProduct;
}
