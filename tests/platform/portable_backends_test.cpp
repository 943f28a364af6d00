// SPDX-License-Identifier: GPL-2.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>

#include <filesystem>
#include <fstream>

#include "tests/support/fixture_machine.h"
#include "platform/players/mass_storage_backend.h"
#include "platform/players/mtp_backend.h"
#include "platform/players/safe_file_copy.h"

namespace {

TEST(MtpBackend, WithoutAPlayerListsNothingAndRefusesEveryOperation) {
  MtpBackend backend;
  EXPECT_TRUE(backend.ListDevices().empty());
  const std::string name = "\\\\?\\usb#vid_1f3a&pid_0128#mtp1.2#{6ac27878-a6fa-4155-ba85-f98f491d4f33}";
  EXPECT_TRUE(backend.Handles(name));
  EXPECT_FALSE(backend.Handles("\\\\?\\storage#removablemedia#x"));
  EXPECT_FALSE(backend.DeviceName(name).has_value());
  EXPECT_TRUE(backend.ListStorages(name).empty());
  StorageObject root{"65537/4294967295", "", true};
  EXPECT_FALSE(backend.QueryCapacity(name, root).has_value());
  EXPECT_FALSE(backend.ListChildren(name, root).has_value());
  EXPECT_FALSE(backend.CreateFolder(name, root, "VIDEO").has_value());
  int error = 0;
  EXPECT_FALSE(backend.SendFile(name, root, "/etc/hostname", kMtpFormatAvi, &error));
  EXPECT_EQ(error, ENODEV);
}

TEST(MassStorageBackend, ListsLetteredUsbVolumesAsNamedDevicesWithOneStorage) {
  kdxtest::FixtureMachine machine;
  machine.Mount(machine.AddSataDisk(), "DATA");
  std::string mountPoint = machine.Mount(machine.AddUsbDisk({}), "PLAYER");
  MassStorageBackend backend;
  std::vector<std::string> names = backend.ListDevices();
  ASSERT_EQ(names.size(), 1u);
  EXPECT_TRUE(backend.Handles(names[0]));
  EXPECT_EQ(backend.DeviceName(names[0]), "PLAYER (D:)");
  std::vector<StorageObject> storages = backend.ListStorages(names[0]);
  ASSERT_EQ(storages.size(), 1u);
  EXPECT_EQ(storages[0].id, mountPoint);
  auto capacity = backend.QueryCapacity(names[0], storages[0]);
  ASSERT_TRUE(capacity.has_value());
  EXPECT_GT(capacity->freeBytes, 0u);

  auto folder = backend.CreateFolder(names[0], storages[0], "VIDEO");
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(backend.CreateFolder(names[0], storages[0], "VIDEO")->id, folder->id);  // found the second time
  auto children = backend.ListChildren(names[0], storages[0]);
  ASSERT_TRUE(children.has_value());
  ASSERT_EQ(children->size(), 1u);
  EXPECT_TRUE((*children)[0].isFolder);
  EXPECT_FALSE(backend.DeviceName("\\\\?\\STORAGE#RemovableMedia#gone").has_value());
}

class SafeCopy : public ::testing::Test {
 protected:
  void SetUp() override {
    std::ofstream(dir_.File("new.kdx")) << "new content";
    std::ofstream(dir_.File("old.kdx")) << "old content";
    folder_ = ::open(dir_.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  }
  void TearDown() override { ::close(folder_); }
  kdxtest::ScratchDir dir_;
  int folder_ = -1;
};

TEST_F(SafeCopy, ReplacesTheOldFileAndLeavesNoTemporary) {
  int error = 0;
  ASSERT_TRUE(CopyFileReplacing(dir_.File("new.kdx"), folder_, dir_.path(), "old.kdx", &error));
  EXPECT_EQ(kdxtest::ReadFile(dir_.File("old.kdx")), "new content");
  EXPECT_EQ(dir_.Listing(), "new.kdx\nold.kdx\n");
}

TEST_F(SafeCopy, AFailedCopyKeepsTheOldFileAndLeavesNoPartialOne) {
  std::filesystem::create_directory(dir_.File("folder"));
  int error = 0;
  EXPECT_FALSE(CopyFileReplacing(dir_.File("folder"), folder_, dir_.path(), "old.kdx", &error));  // reading fails midway
  EXPECT_EQ(error, EISDIR);
  EXPECT_FALSE(CopyFileReplacing(dir_.File("missing.kdx"), folder_, dir_.path(), "old.kdx", &error));
  EXPECT_EQ(error, ENOENT);
  EXPECT_EQ(kdxtest::ReadFile(dir_.File("old.kdx")), "old content");
  EXPECT_EQ(dir_.Listing(), "folder\nnew.kdx\nold.kdx\n");
  EXPECT_FALSE(CopyFileReplacing(dir_.File("new.kdx"), folder_, dir_.path(), "no/such/folder.kdx", &error));
}

}  // namespace
