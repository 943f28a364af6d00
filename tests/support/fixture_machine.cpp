// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/fixture_machine.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace kdxtest {

namespace {

void WriteAttribute(const fs::path& folder, const std::string& name, const std::string& value) {
  fs::create_directories(folder);
  std::ofstream(folder / name) << value << "\n";
}

std::optional<std::string> Swap(const char* name, const std::string& value) {
  std::optional<std::string> old;
  if (const char* current = std::getenv(name)) old = current;
  ::setenv(name, value.c_str(), 1);
  return old;
}

void Restore(const char* name, const std::optional<std::string>& old) {
  if (old) {
    ::setenv(name, old->c_str(), 1);
  } else {
    ::unsetenv(name);
  }
}

}  // namespace

FixtureMachine::FixtureMachine() {
  fs::create_directories(dir_.File("sys/dev/block"));
  fs::create_directories(dir_.File("sys/class/block"));
  fs::create_directories(dir_.File("media"));
  oldSysfs_ = Swap("NKDX_SYSFS_ROOT", dir_.File("sys"));
  oldMountTable_ = Swap("NKDX_MOUNT_TABLE", mountTable());
  WriteMountTable();
}

FixtureMachine::~FixtureMachine() {
  Restore("NKDX_SYSFS_ROOT", oldSysfs_);
  Restore("NKDX_MOUNT_TABLE", oldMountTable_);
}

std::string FixtureMachine::AddBlockDevice(const std::string& parentFolder, const std::string& diskName) {
  int minor = 16 * nextDisk_++;
  fs::path disk = fs::path(parentFolder) / "block" / diskName;
  WriteAttribute(disk, "removable", "1");
  WriteAttribute(disk, "dev", "8:" + std::to_string(minor));
  fs::path partition = disk / (diskName + "1");
  WriteAttribute(partition, "partition", "1");
  std::string devNumber = "8:" + std::to_string(minor + 1);
  WriteAttribute(partition, "dev", devNumber);
  fs::path link = fs::path(dir_.File("sys/dev/block")) / devNumber;
  fs::create_symlink(fs::relative(partition, link.parent_path()), link);
  fs::path named = fs::path(dir_.File("sys/class/block")) / (diskName + "1");
  fs::create_directories(named.parent_path());
  fs::create_symlink(fs::relative(partition, named.parent_path()), named);
  return devNumber;
}

std::string FixtureMachine::AddUsbDisk(const FixtureUsbDisk& usb) {
  int port = nextDisk_ + 1;
  std::string host = std::to_string(10 + nextDisk_);
  fs::path device = fs::path(dir_.File("sys/devices/pci0000:00/0000:00:14.0/usb1")) / ("1-" + std::to_string(port));
  WriteAttribute(device, "idVendor", usb.idVendor);
  WriteAttribute(device, "idProduct", usb.idProduct);
  if (!usb.serial.empty()) WriteAttribute(device, "serial", usb.serial);
  WriteAttribute(device, "busnum", "1");
  WriteAttribute(device, "devnum", std::to_string(port + 1));
  WriteAttribute(device, "bNumInterfaces", " " + std::to_string(usb.interfaces));
  fs::path interface = device / ("1-" + std::to_string(port) + ":1." + std::to_string(usb.interfaceNumber));
  WriteAttribute(interface, "bInterfaceNumber", "0" + std::to_string(usb.interfaceNumber));
  fs::path scsi = interface / ("host" + host) / ("target" + host + ":0:0") / (host + ":0:0:0");
  WriteAttribute(scsi, "vendor", usb.vendor + "  ");
  WriteAttribute(scsi, "model", usb.model + "   ");
  WriteAttribute(scsi, "rev", usb.revision);
  return AddBlockDevice(scsi.string(), std::string("sd") + static_cast<char>('b' + nextDisk_));
}

std::string FixtureMachine::AddSataDisk() {
  std::string host = std::to_string(nextDisk_);
  fs::path scsi = fs::path(dir_.File("sys/devices/pci0000:00/0000:00:1f.2/ata1")) / ("host" + host) /
                  ("target" + host + ":0:0") / (host + ":0:0:0");
  WriteAttribute(scsi, "vendor", "ATA");
  WriteAttribute(scsi, "model", "Fixed Disk");
  WriteAttribute(scsi, "rev", "0001");
  return AddBlockDevice(scsi.string(), std::string("sd") + static_cast<char>('b' + nextDisk_));
}

std::string FixtureMachine::Mount(const std::string& devNumber, const std::string& label, const FixtureMount& how) {
  std::string mountPoint = dir_.File("media/" + label);
  fs::create_directories(mountPoint);
  mounts_.push_back({devNumber, mountPoint, how});
  WriteMountTable();
  return mountPoint;
}

void FixtureMachine::RemoveDevice(const std::string& devNumber) {
  fs::remove(fs::path(dir_.File("sys/dev/block")) / devNumber);
}

void FixtureMachine::Unmount(const std::string& mountPoint) {
  mounts_.erase(std::remove_if(mounts_.begin(), mounts_.end(),
                               [&](const Mounted& m) { return m.mountPoint == mountPoint; }),
                mounts_.end());
  WriteMountTable();
}

void FixtureMachine::WriteMountTable() const {
  std::string text =
      "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
      "27 1 254:1 / / rw,relatime shared:1 - ext4 /dev/vda1 rw\n";
  int id = 100;
  for (const Mounted& m : mounts_) {
    std::string escaped;
    for (char c : m.mountPoint) escaped += (c == ' ') ? std::string("\\040") : std::string(1, c);
    // The source names the partition through its sysfs name.
    std::string partition;
    for (const auto& entry : fs::directory_iterator(dir_.File("sys/class/block"))) {
      std::ifstream dev(entry.path() / "dev");
      std::string numbers;
      if (dev >> numbers && numbers == m.devNumber) partition = entry.path().filename().string();
    }
    std::string numbers = m.how.fuse ? "0:" + std::to_string(60 + id) : m.devNumber;
    text += std::to_string(id++) + " 27 " + numbers + " " + m.how.root + " " + escaped + " " +
            (m.how.readOnly ? "ro" : "rw") + ",nosuid,nodev,relatime shared:50 - " +
            (m.how.fuse ? "fuseblk" : "vfat") + " /dev/" + partition + " rw,uid=1000\n";
  }
  std::ofstream(mountTable(), std::ios::trunc) << text;
}

}  // namespace kdxtest
