// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/fixture_machine.h"
#include "platform/players/logical_drives.h"
#include "platform/players/mount_table.h"

namespace {

using kdxtest::FixtureMachine;
using kdxtest::FixtureUsbDisk;

TEST(DriveLetters, RootIsCAndUsbVolumesFollowInMountPointOrder) {
  FixtureMachine machine;
  std::string second = machine.Mount(machine.AddUsbDisk({}), "ZPLAYER");
  machine.Mount(machine.AddSataDisk(), "DATA");
  FixtureUsbDisk reader;
  reader.idVendor = "05e3";
  std::string first = machine.Mount(machine.AddUsbDisk(reader), "CARD");

  std::vector<LogicalDrive> drives = ListLogicalDrives();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[0].mountPoint, "/");
  EXPECT_EQ(drives[1].letter, 'D');
  EXPECT_EQ(drives[1].mountPoint, first);
  EXPECT_EQ(drives[2].letter, 'E');
  EXPECT_EQ(drives[2].mountPoint, second);
  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 3) | (1u << 4));
  EXPECT_EQ(GetDriveType("C:\\"), static_cast<UINT>(DRIVE_FIXED));
  EXPECT_EQ(GetDriveType("E:\\"), static_cast<UINT>(DRIVE_REMOVABLE));
  EXPECT_EQ(GetDriveType("e:"), static_cast<UINT>(DRIVE_REMOVABLE));
  EXPECT_EQ(GetDriveType("F:\\"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  EXPECT_EQ(GetDriveType("E:/"), static_cast<UINT>(DRIVE_NO_ROOT_DIR));
  EXPECT_EQ(DriveFolder('e'), second);

  uint64_t freeBytes = 0;
  EXPECT_TRUE(GetDiskFreeSpaceEx("D:\\", &freeBytes));
  EXPECT_GT(freeBytes, 0u);
  EXPECT_FALSE(GetDiskFreeSpaceEx("F:\\", &freeBytes));
}

TEST(DriveLetters, AVolumeMountedTwiceGetsOneLetterAndAMissingTableOnlyC) {
  FixtureMachine machine;
  std::string volume = machine.AddUsbDisk({});
  machine.Mount(volume, "A");
  machine.Mount(volume, "B");
  EXPECT_EQ(ListLogicalDrives().size(), 2u);

  ::setenv("NKDX_MOUNT_TABLE", (machine.root() + "/missing").c_str(), 1);
  EXPECT_EQ(GetLogicalDrives(), 1u << 2);
  EXPECT_FALSE(ListVolumeInterfaces().has_value());
}

TEST(DriveLetters, TheDriveIsWhereTheVolumesRootIsMountedReadWriteFirstFuseIncluded) {
  FixtureMachine machine;
  std::string player = machine.AddUsbDisk({});
  machine.Mount(player, "A-VIDEO", kdxtest::FixtureMount{"/VIDEO"});  // a bind mount of a subfolder
  machine.Mount(player, "B-READONLY", kdxtest::FixtureMount{"/", true});
  std::string writable = machine.Mount(player, "C-PLAYER");
  FixtureUsbDisk card;
  card.serial = "CARD";
  std::string cardNumbers = machine.AddUsbDisk(card);
  std::string fuse = machine.Mount(cardNumbers, "D-EXFAT", kdxtest::FixtureMount{"/", false, true});
  std::string onlyVideo = machine.AddUsbDisk({});
  machine.Mount(onlyVideo, "E-SUBFOLDER", kdxtest::FixtureMount{"/VIDEO"});

  std::vector<LogicalDrive> drives = ListLogicalDrives();
  ASSERT_EQ(drives.size(), 3u);
  EXPECT_EQ(drives[1].mountPoint, writable);
  EXPECT_EQ(drives[1].volume->fileSystem, "vfat");
  EXPECT_EQ(drives[2].mountPoint, fuse);
  EXPECT_EQ(drives[2].volume->fileSystem, "fuseblk");
  EXPECT_EQ(std::to_string(drives[2].volume->major) + ":" + std::to_string(drives[2].volume->minor), cardNumbers);
  EXPECT_EQ(drives[2].volume->serial, "CARD");
}

TEST(DriveLetters, VolumeIdentifiersHaveThePlatformsForms) {
  FixtureMachine machine;
  FixtureUsbDisk disk;
  disk.vendor = "Norvik Co";
  disk.model = "NK 128";
  machine.Mount(machine.AddUsbDisk(disk), "PLAYER");

  auto volume = OpenVolume("\\\\.\\D:");
  ASSERT_TRUE(volume.has_value());
  EXPECT_EQ(volume->label, "PLAYER");
  EXPECT_EQ(volume->uniqueId.rfind("\\??\\STORAGE#RemovableMedia#" + volume->parentIdPrefix + "&RM#{", 0), 0u);
  EXPECT_EQ(volume->devicePath, "\\\\?\\" + volume->uniqueId.substr(4));
  EXPECT_EQ(volume->parentIdPrefix.size(), 11u);
  EXPECT_EQ(volume->diskInstanceId, "USBSTOR\\DISK&VEN_NORVIK_C&PROD_NK_128&REV_1.00\\0123456789AB&0");
  EXPECT_EQ(volume->usbInstanceId, "USB\\VID_1F3A&PID_0128\\0123456789AB");
  EXPECT_EQ(volume->friendlyName, "Norvik Co NK 128 USB Device");
  EXPECT_FALSE(OpenVolume("\\\\.\\E:").has_value());
  EXPECT_FALSE(OpenVolume("\\\\.\\C:").has_value());
  EXPECT_FALSE(OpenVolume("D:").has_value());
}

TEST(DriveLetters, CompositeDeviceNamesItsInterfaceAndSerialLessDiskGetsAGeneratedInstance) {
  FixtureMachine machine;
  FixtureUsbDisk composite;
  composite.interfaces = 2;
  composite.interfaceNumber = 1;
  composite.serial.clear();
  machine.Mount(machine.AddUsbDisk(composite), "PLAYER");
  auto volume = OpenVolume("\\\\.\\D:");
  ASSERT_TRUE(volume.has_value());
  EXPECT_EQ(volume->usbInstanceId, "USB\\VID_1F3A&PID_0128&MI_01\\" + volume->parentIdPrefix);
}

TEST(MountTable, DecodesEscapesAndSkipsMalformedLines) {
  kdxtest::ScratchDir dir;
  std::ofstream(dir.File("table")) << "36 35 8:17 / /media/My\\040Player rw shared:1 - vfat /dev/sdb1 rw\n"
                                      "garbage line\n"
                                      "37 35 8:x / /mnt rw - vfat /dev/sdc1 rw\n"
                                      "38 35 8:33 / /mnt/b rw - ext4 /dev/sdc1 rw\n";
  auto entries = ReadMountTable(dir.File("table"));
  ASSERT_TRUE(entries.has_value());
  ASSERT_EQ(entries->size(), 2u);
  EXPECT_EQ((*entries)[0].mountPoint, "/media/My Player");
  EXPECT_EQ((*entries)[0].major, 8u);
  EXPECT_EQ((*entries)[0].minor, 17u);
  EXPECT_EQ((*entries)[0].fileSystem, "vfat");
  EXPECT_EQ((*entries)[1].minor, 33u);
  EXPECT_FALSE(ReadMountTable(dir.File("none")).has_value());
}

}  // namespace
