// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "converter/players/mass_storage_players.h"
#include "converter/players/portable_players.h"
#include "converter/players/WMDM.h"
#include "tests/support/fixture_machine.h"
#include "platform/players/logical_drives.h"
#include "platform/players/mass_storage_backend.h"
#include "converter/players/player_detection.h"
#include "tests/converter/players/player_test_doubles.h"
#include "tests/converter/core/test_env.h"

namespace {

namespace fs = std::filesystem;

// A converted file of `size` bytes and a player mounted on a real folder of
// a fixture machine.
class Transfer : public ::testing::Test {
 protected:
  Transfer() {
    LoadPlayerTable(dir_, table_);
    mountPoint_ = machine_.Mount(machine_.AddUsbDisk({}), "PLAYER");
    source_ = dir_.File("clip.kdx");
    std::ofstream(source_) << std::string(2048, 'k');
  }

  MSC_DRIVE_RECORD Record(const std::string& targetFolder) {
    MSC_DRIVE_RECORD record;
    record.m_chDrive = 'D';
    record.m_volume = OpenVolume("\\\\.\\D:").value();
    record.m_strDeviceName = "NK-128";
    record.m_strTargetFolder = targetFolder;
    return record;
  }
  // The mass-storage list with a free-space answer of `freeBytes`.
  MassStoragePlayers Drives(uint64_t freeBytes) {
    return MassStoragePlayers(table_, [freeBytes](const std::string& root, uint64_t* out) {
      EXPECT_EQ(root, "D:\\");
      *out = freeBytes;
      return true;
    });
  }
  std::string OnPlayer(const std::string& relative) { return kdxtest::ReadFile(mountPoint_ + "/" + relative); }

  ScratchLog log_;
  kdxtest::ScratchDir dir_;
  kdxtest::FixtureMachine machine_;
  CTesselConfigFile table_;
  RecordingWarnings warnings_;
  std::string mountPoint_;
  std::string source_;
};

TEST_F(Transfer, FreeSpaceMustExceedTheFileSize) {
  MSC_DRIVE_RECORD record = Record("\\VIDEO");
  EXPECT_FALSE(Drives(2048).CopyFileToPlayer(&record, source_, warnings_));
  ASSERT_EQ(warnings_.shown.size(), 1u);
  EXPECT_EQ(warnings_.shown[0],
            "Halvard Video Converter: WARNING:  The NK-128 device may not have enough free space available to safely "
            "proceed with the file transfer.  Please free some additional space on the device before the file transfer.");
  EXPECT_NE(log_.Text().find("**CTesselUpdateFirmware_2K::TesselUpdateFirmware** No enough space"), std::string::npos);
  EXPECT_FALSE(fs::exists(mountPoint_ + "/VIDEO"));

  EXPECT_TRUE(Drives(2049).CopyFileToPlayer(&record, source_, warnings_));
  EXPECT_EQ(OnPlayer("VIDEO/clip.kdx"), std::string(2048, 'k'));
  EXPECT_EQ(warnings_.shown.size(), 1u);
}

TEST_F(Transfer, AFileOfFourGibibytesOrMoreIsCheckedByItsWholeSize) {
  fs::resize_file(source_, (uint64_t{1} << 32) + 10);  // sparse
  MSC_DRIVE_RECORD record = Record("\\VIDEO");
  EXPECT_FALSE(Drives(1000).CopyFileToPlayer(&record, source_, warnings_));
  EXPECT_EQ(warnings_.shown.size(), 1u);
}

TEST_F(Transfer, FoldersAreMadeFromTheTargetFolderAndAnExistingCopyIsReplaced) {
  MSC_DRIVE_RECORD nested = Record("\\VIDEO\\Clips\\");
  ASSERT_TRUE(Drives(1 << 20).CopyFileToPlayer(&nested, source_, warnings_));
  EXPECT_EQ(OnPlayer("VIDEO/Clips/clip.kdx"), std::string(2048, 'k'));

  MSC_DRIVE_RECORD root = Record("");
  std::ofstream(mountPoint_ + "/clip.kdx") << "older copy";
  ASSERT_TRUE(Drives(1 << 20).CopyFileToPlayer(&root, source_, warnings_));
  EXPECT_EQ(OnPlayer("clip.kdx"), std::string(2048, 'k'));
}

TEST_F(Transfer, AFailedCopyKeepsTheCopyOnThePlayer) {
  fs::create_directories(mountPoint_ + "/VIDEO");
  std::ofstream(mountPoint_ + "/VIDEO/clip.kdx") << "older copy";
  fs::remove(source_);
  fs::create_directory(source_);  // exists, but reading it fails
  MSC_DRIVE_RECORD record = Record("\\VIDEO");
  EXPECT_FALSE(Drives(1 << 20).CopyFileToPlayer(&record, source_, warnings_));
  EXPECT_EQ(OnPlayer("VIDEO/clip.kdx"), "older copy");
  EXPECT_EQ(std::distance(fs::directory_iterator(mountPoint_ + "/VIDEO"), fs::directory_iterator()), 1);
  EXPECT_NE(log_.Text().find("Error copying " + source_ + " to " + mountPoint_ + "/VIDEO/clip.kdx (GetLastError() = "),
            std::string::npos);
}

TEST_F(Transfer, MissingFilesFoldersAndFreeSpaceAnswersFailTheTransfer) {
  MSC_DRIVE_RECORD record = Record("\\VIDEO");
  EXPECT_FALSE(Drives(1 << 20).CopyFileToPlayer(&record, dir_.File("missing.kdx"), warnings_));
  EXPECT_NE(log_.Text().find("access " + dir_.File("missing.kdx") + " fail!"), std::string::npos);
  EXPECT_NE(log_.Text().find("The output file is not existed!"), std::string::npos);

  MassStoragePlayers noAnswer(table_, [](const std::string&, uint64_t*) { return false; });
  EXPECT_FALSE(noAnswer.CopyFileToPlayer(&record, source_, warnings_));
  EXPECT_NE(log_.Text().find("GetDiskFreeSpaceEx failed!"), std::string::npos);

  std::ofstream(mountPoint_ + "/FILE") << "a file where a folder belongs";
  MSC_DRIVE_RECORD blocked = Record("\\FILE\\VIDEO");
  EXPECT_FALSE(Drives(1 << 20).CopyFileToPlayer(&blocked, source_, warnings_));
  EXPECT_NE(log_.Text().find("Create sytem folder error!"), std::string::npos);
  EXPECT_FALSE(Drives(1 << 20).CopyFileToPlayer(nullptr, source_, warnings_));
}

TEST_F(Transfer, AVolumeThatInheritedThePlayersLetterReceivesNothing) {
  MSC_DRIVE_RECORD record = Record("\\VIDEO");
  kdxtest::FixtureUsbDisk stick;
  stick.serial = "STICK";
  std::string other = machine_.Mount(machine_.AddUsbDisk(stick), "STICK");
  // The player's device goes while its mount is still listed: the stick is D: now.
  machine_.RemoveDevice("8:1");
  ASSERT_EQ(DriveFolder('D'), other);
  std::string reason;
  EXPECT_FALSE(Drives(1 << 20).CopyFileToPlayer(&record, source_, warnings_, &reason));
  EXPECT_EQ(reason, "The player was disconnected or could not be written (No such device).");
  EXPECT_TRUE(fs::is_empty(other));
}

// The same player reached through the portable-device service.
class DeviceTransfer : public Transfer {
 protected:
  DeviceTransfer() {
    auto devices = backend_.ListDevices();
    EXPECT_EQ(devices.size(), 1u);
    EXPECT_EQ(record_.InitFromDevice(PortableDevice{&backend_, devices.at(0)}), S_OK);
    record_.m_szTargetFolder = "\\VIDEO";
    record_.m_szModelName = "NK-128";
  }
  MassStorageBackend backend_;
  CTesselItemData record_;
  PortablePlayers list_{table_};
};

TEST_F(DeviceTransfer, FreeKibibytesMustExceedTheFileSize) {
  record_.m_qwFreeKB = 2;
  EXPECT_FALSE(list_.CopyFileToPlayer(&record_, source_, warnings_));
  ASSERT_EQ(warnings_.shown.size(), 1u);
  EXPECT_EQ(warnings_.shown[0],
            "Norvik KDX Video Converter: WARNING:  The PLAYER (D:) player may not have enough free space available to "
            "safely proceed with the file transfer.  Please free some additional space on the player before the file "
            "transfer.");
  EXPECT_NE(log_.Text().find("**CTesselUpdateFirmware_XP::TesselUpdateFirmware** No enough space"), std::string::npos);
  record_.m_qwFreeKB = 3;
  EXPECT_TRUE(list_.CopyFileToPlayer(&record_, source_, warnings_));
  EXPECT_EQ(OnPlayer("VIDEO/clip.kdx"), std::string(2048, 'k'));
}

TEST_F(DeviceTransfer, FindsTheTargetFolderIgnoringCaseOrMakesItLevelByLevel) {
  fs::create_directories(mountPoint_ + "/video");
  std::ofstream(mountPoint_ + "/video/clip.kdx") << "older copy";
  EXPECT_TRUE(list_.CopyFileToPlayer(&record_, source_, warnings_));
  EXPECT_EQ(OnPlayer("video/clip.kdx"), std::string(2048, 'k'));

  CTesselItemData nested = record_;
  nested.m_pTargetFolder.reset();
  nested.m_pEnumRoot.reset();
  nested.m_szTargetFolder = "\\Music\\Clips";
  EXPECT_FALSE(nested.FindTargetFolder());
  EXPECT_TRUE(list_.CopyFileToPlayer(&nested, source_, warnings_));
  EXPECT_EQ(OnPlayer("Music/Clips/clip.kdx"), std::string(2048, 'k'));

  // A target folder deleted since the last transfer is made again.
  fs::remove_all(mountPoint_ + "/Music");
  EXPECT_TRUE(list_.CopyFileToPlayer(&nested, source_, warnings_));
  EXPECT_EQ(OnPlayer("Music/Clips/clip.kdx"), std::string(2048, 'k'));

  CTesselItemData root = record_;
  root.m_pTargetFolder.reset();
  root.m_szTargetFolder.clear();
  EXPECT_TRUE(root.FindTargetFolder());
  EXPECT_EQ(root.m_pTargetFolder->id, mountPoint_);
}

TEST_F(DeviceTransfer, AFailedSendKeepsTheCopyOnThePlayer) {
  fs::create_directories(mountPoint_ + "/VIDEO");
  std::ofstream(mountPoint_ + "/VIDEO/clip.kdx") << "older copy";
  fs::remove(source_);
  fs::create_directory(source_);
  EXPECT_FALSE(list_.CopyFileToPlayer(&record_, source_, warnings_));
  EXPECT_EQ(OnPlayer("VIDEO/clip.kdx"), "older copy");
  EXPECT_NE(log_.Text().find("**TesselUpdateFirmware** Copy File(" + source_ + ") Error!"), std::string::npos);
}

TEST_F(Transfer, TransferOutputFileTellsTheUserOnEitherPath) {
  RecordingPlayerWindow window;
  PlayerDetection drives(table_, PlayerSupport{true, false}, nullptr, window, warnings_);
  drives.DetectAtStart();
  ASSERT_TRUE(window.transferTicked);
  window.statusTexts.clear();
  EXPECT_TRUE(drives.TransferOutputFile(3, source_).copied);
  EXPECT_EQ(window.rowStatuses, std::vector<std::string>{"3:Transferring... "});
  EXPECT_EQ(window.statusTexts,
            (std::vector<std::string>{"Transferring output file to your player, please do not disconnect your player!!!",
                                      "Output video file has been transferred to device successfully!"}));
  EXPECT_EQ(window.caption, "Transfer outputs file to NK-128 after conversion is complete.");
  EXPECT_EQ(OnPlayer("VIDEO/clip.kdx"), std::string(2048, 'k'));

  std::vector<std::unique_ptr<PortableDeviceBackend>> backends;
  backends.push_back(std::make_unique<MassStorageBackend>());
  CWMDM wmdm(std::make_unique<PortableDeviceService>(std::move(backends)));
  wmdm.Initialize();
  PlayerDetection devices(table_, PlayerSupport{true, true}, &wmdm, window, warnings_);
  devices.DetectAtStart();
  window.statusTexts.clear();
  EXPECT_TRUE(devices.TransferOutputFile(0, source_).copied);
  EXPECT_EQ(window.statusTexts.back(), "Output video file has been transferred to player successfully!");

  devices.portablePlayers().records()[0]->m_qwFreeKB = 3;  // refreshed after each transfer
  EXPECT_TRUE(devices.TransferOutputFile(0, source_).copied);
  EXPECT_GT(devices.portablePlayers().records()[0]->m_qwFreeKB, 3u);

  fs::remove(source_);
  fs::create_directory(source_);
  TransferOutcome failed = devices.TransferOutputFile(0, source_);
  EXPECT_TRUE(failed.attempted && !failed.copied);
  EXPECT_EQ(failed.reason, "Copying to the player failed (Is a directory).");
  EXPECT_EQ(window.statusTexts.back(), "Transfer output video file to player failed!");

  window.statusTexts.clear();
  window.transferTicked = false;
  EXPECT_FALSE(devices.TransferOutputFile(0, source_).attempted);
  window.transferTicked = true;
  window.rowEnabled = false;
  EXPECT_FALSE(devices.TransferOutputFile(0, source_).attempted);
  EXPECT_TRUE(window.statusTexts.empty());
}

}  // namespace
