// A made-up machine for the player tests: a sysfs tree with USB and other
// disks and a mount table, in a scratch folder, pointed to through
// NKDX_SYSFS_ROOT and NKDX_MOUNT_TABLE for the life of the object.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "test_paths.h"

namespace kdxtest {

struct FixtureUsbDisk {
  std::string idVendor = "1f3a";
  std::string idProduct = "0128";
  std::string serial = "0123456789AB";
  std::string vendor = "Norvik";
  std::string model = "Player";
  std::string revision = "1.00";
  int interfaces = 1;      // more than one makes a composite device
  int interfaceNumber = 0;
};

class FixtureMachine {
 public:
  FixtureMachine();
  ~FixtureMachine();
  FixtureMachine(const FixtureMachine&) = delete;
  FixtureMachine& operator=(const FixtureMachine&) = delete;

  // Adds a USB disk with one partition; returns the partition's "major:minor".
  std::string AddUsbDisk(const FixtureUsbDisk& disk);
  // Adds a disk on a SATA controller; returns its partition's "major:minor".
  std::string AddSataDisk();

  // Mounts a volume at <scratch>/media/<label> (made as a real folder) and
  // rewrites the mount table; returns the mount point.
  std::string Mount(const std::string& devNumber, const std::string& label);
  // Removes the mount and rewrites the mount table.
  void Unmount(const std::string& mountPoint);

  const std::string& root() const { return dir_.path(); }
  std::string mountTable() const { return dir_.File("mountinfo"); }

 private:
  struct Mounted {
    std::string devNumber;
    std::string mountPoint;
  };
  std::string AddBlockDevice(const std::string& parentFolder, const std::string& diskName);
  void WriteMountTable() const;

  ScratchDir dir_;
  int nextDisk_ = 0;
  std::vector<Mounted> mounts_;
  std::optional<std::string> oldSysfs_;
  std::optional<std::string> oldMountTable_;
};

}  // namespace kdxtest
