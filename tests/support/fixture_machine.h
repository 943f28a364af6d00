// SPDX-License-Identifier: GPL-2.0-or-later
// A made-up machine for the player tests: a sysfs tree with USB and other
// disks and a mount table, in a scratch folder, pointed to through
// NKDX_SYSFS_ROOT and NKDX_MOUNT_TABLE for the life of the object.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"

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

// How a volume is mounted, as the mount table tells it.
struct FixtureMount {
  std::string root = "/";  // a subfolder for a bind mount of it
  bool readOnly = false;
  bool fuse = false;  // a FUSE block volume: device numbers 0:N, the device in the source
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
  std::string Mount(const std::string& devNumber, const std::string& label, const FixtureMount& how = {});
  // Takes the block device away (its sysfs entry) while its mounts stay listed.
  void RemoveDevice(const std::string& devNumber);
  // Removes the mount and rewrites the mount table.
  void Unmount(const std::string& mountPoint);

  const std::string& root() const { return dir_.path(); }
  std::string mountTable() const { return dir_.File("mountinfo"); }

 private:
  struct Mounted {
    std::string devNumber;
    std::string mountPoint;
    FixtureMount how;
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
