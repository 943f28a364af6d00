// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include "converter/players/mass_storage_players.h"
#include "converter/players/mass_storage_identity.h"
#include "platform/players/device_change_notices.h"
#include "tests/support/fixture_machine.h"
#include "platform/players/logical_drives.h"
#include "converter/players/player_detection.h"
#include "tests/converter/players/player_test_doubles.h"
#include "tests/converter/core/test_env.h"

namespace {

using kdxtest::FixtureUsbDisk;

FixtureUsbDisk Player(const std::string& pid) {
  FixtureUsbDisk disk;
  disk.idProduct = pid;
  return disk;
}

FixtureUsbDisk CardReader() {
  FixtureUsbDisk disk;
  disk.idVendor = "05e3";
  disk.idProduct = "0727";
  disk.vendor = "Generic";
  disk.model = "Card Reader";
  return disk;
}

// The mass-storage path of a main window on a fixture machine.
class MassStorageDetection : public ::testing::Test {
 protected:
  MassStorageDetection() { LoadPlayerTable(dir_, table_); }

  std::string Plug(const FixtureUsbDisk& disk, const std::string& label) {
    return machine_.Mount(machine_.AddUsbDisk(disk), label);
  }
  std::vector<char> Letters() {
    std::vector<char> letters;
    for (const MSC_DRIVE_RECORD& r : detection_.massStoragePlayers().records()) letters.push_back(r.m_chDrive);
    return letters;
  }

  ScratchLog log_;
  kdxtest::ScratchDir dir_;
  kdxtest::FixtureMachine machine_;
  CTesselConfigFile table_;
  RecordingPlayerWindow window_;
  RecordingWarnings warnings_;
  PlayerDetection detection_{table_, PlayerSupport{true, false}, nullptr, window_, warnings_};
};

TEST_F(MassStorageDetection, APlayerBesideACardReaderIsListedAndAnnounced) {
  Plug(CardReader(), "A_CARD");
  Plug(Player("0128"), "PLAYER");
  window_.selected = 2;
  detection_.DetectAtStart();

  ASSERT_EQ(Letters(), std::vector<char>{'E'});
  const MSC_DRIVE_RECORD& record = detection_.massStoragePlayers().records()[0];
  EXPECT_EQ(record.m_vid, "1F3A");
  EXPECT_EQ(record.m_pid, "0128");
  EXPECT_EQ(record.m_strDeviceName, "NK-128");
  EXPECT_EQ(record.m_strTargetFolder, "\\VIDEO");
  EXPECT_EQ(window_.status(), "Device Detected:     NK-128");
  EXPECT_EQ(window_.selected, 0u);
  EXPECT_EQ(window_.selectionsApplied, 1);
  EXPECT_FALSE(window_.selectorEnabled);
  EXPECT_TRUE(window_.transferEnabled);
  EXPECT_TRUE(window_.transferTicked);
  EXPECT_EQ(window_.caption, "Transfer output files to NK-128 after conversion is complete.");
  std::string log = log_.Text();
  EXPECT_NE(log.find("**CTesselUpdateFirmware_2K::EnumDevices** DriverLetter: \"E\", DeviceName: \"NK-128\", m_pid: \"0128\""),
            std::string::npos);
  EXPECT_EQ(log.find("Can not find"), std::string::npos) << "an unlisted reader is skipped silently";
}

TEST_F(MassStorageDetection, TwoPlayersOfDifferentModelsAreListedInLetterOrder) {
  Plug(Player("0128"), "Y_PLAYER");
  Plug(Player("0176"), "X_PLAYER");
  detection_.DetectAtStart();
  ASSERT_EQ(Letters(), (std::vector<char>{'D', 'E'}));
  EXPECT_EQ(detection_.massStoragePlayers().records()[0].m_strDeviceName, "NK-176T");
  EXPECT_EQ(window_.statusTexts, (std::vector<std::string>{"Device Detected:     NK-176T", "Device Detected:     NK-128"}));
  EXPECT_EQ(window_.entries[window_.selected], "NK-128");
}

TEST_F(MassStorageDetection, ACompositeDevicesLongPidBecomesEmptyAndMatchesTheFirstEntry) {
  FixtureUsbDisk composite = Player("0999");
  composite.interfaces = 3;
  composite.interfaceNumber = 2;
  Plug(composite, "PLAYER");
  std::string vid, pid, model, folder;
  ASSERT_TRUE(TesselMSCIsSupportedDevice(table_, 'D', &vid, &pid, &model, &folder));
  EXPECT_EQ(vid, "1F3A");
  EXPECT_EQ(pid, "");
  EXPECT_EQ(model, "NK-128");
}

TEST_F(MassStorageDetection, IdentificationFailuresAreLoggedOnly) {
  Plug(CardReader(), "CARD");
  EXPECT_FALSE(TesselMSCIsSupportedDevice(table_, 'D', nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(TesselMSCIsSupportedDevice(table_, 'F', nullptr, nullptr, nullptr, nullptr));
  EXPECT_FALSE(TesselMSCIsSupportedDevice(table_, 'C', nullptr, nullptr, nullptr, nullptr));
  std::vector<std::string> lines = log_.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_NE(lines[0].find("CreateFile \\\\.\\F: failed!"), std::string::npos);
  EXPECT_NE(lines[1].find("TesselGetVolumeID error"), std::string::npos);
  EXPECT_NE(lines[2].find("CreateFile \\\\.\\C: failed!"), std::string::npos);

  std::string vid, pid;
  EXPECT_FALSE(TesselFindExistingDevice("STORAGE#RemovableMedia#7&0000000&0&RM", &vid, &pid));
  EXPECT_EQ(StripVolumeDecoration("\\??\\abc\\?"), "abc");
}

TEST(CandidatePlayerDrives, OnlyRemovableDrivesFromCOnAreProbedAndANeverAsked) {
  std::vector<std::string> asked;
  auto type = [&](const std::string& root) -> UINT {
    asked.push_back(root);
    return root == "C:\\" ? DRIVE_FIXED : DRIVE_REMOVABLE;
  };
  EXPECT_EQ(CandidatePlayerDrives(0x3FFFFFF, type).size(), 23u);
  EXPECT_EQ(asked.front(), "C:\\");
  EXPECT_EQ(asked.size(), 24u);
  asked.clear();
  EXPECT_EQ(CandidatePlayerDrives(0b10011, type), std::vector<char>{'E'});
  EXPECT_EQ(asked, std::vector<std::string>{"E:\\"});
}

TEST_F(MassStorageDetection, DuringAConversionTheLastAnnouncementDecides) {
  window_.converting = true;
  window_.selectorEnabled = false;
  window_.transferTicked = false;
  Plug(Player("0128"), "D_PLAYER");
  std::string later = Plug(Player("0176"), "E_PLAYER");
  detection_.OnDeviceChange(DBT_DEVICEARRIVAL);
  EXPECT_FALSE(window_.transferEnabled) << "a second model on a later letter withdraws the option";
  EXPECT_TRUE(window_.transferTicked) << "the member keeps what the first player set";
  EXPECT_EQ(window_.selectionsApplied, 0);
  EXPECT_NE(log_.Text().find("Connected differnet device during converting."), std::string::npos);

  machine_.Unmount(later);
  Plug(Player("0176"), "A_PLAYER");  // now on the earlier letter
  detection_.OnDeviceChange(DBT_DEVICEARRIVAL);
  EXPECT_TRUE(window_.transferEnabled);
  EXPECT_TRUE(window_.transferTicked);
  EXPECT_FALSE(window_.selectorEnabled);
  EXPECT_EQ(window_.caption, "Transfer output files to NK-128 after conversion is complete.");
}

TEST_F(MassStorageDetection, RemovalShowsNoPlayerOnlyWhenNoneRemains) {
  std::string first = Plug(Player("0128"), "D_PLAYER");
  std::string second = Plug(Player("0176"), "E_PLAYER");
  detection_.DetectAtStart();
  window_.converting = true;

  machine_.Unmount(first);
  window_.statusTexts.clear();
  EXPECT_TRUE(detection_.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE));
  EXPECT_EQ(window_.statusTexts, std::vector<std::string>{"Device Detected:     NK-176T"});

  machine_.Unmount(second);
  EXPECT_TRUE(detection_.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE));
  EXPECT_TRUE(detection_.massStoragePlayers().records().empty());
  EXPECT_EQ(window_.status(), "No Supported Player Detected!");
  EXPECT_FALSE(window_.transferEnabled);
  EXPECT_FALSE(window_.transferTicked);
  EXPECT_FALSE(window_.selectorEnabled) << "stays locked while converting";
  EXPECT_EQ(window_.caption, "Transfer video output file to player after conversion is complete.");

  window_.converting = false;
  detection_.OnDeviceChange(DBT_DEVICEREMOVECOMPLETE);
  EXPECT_TRUE(window_.selectorEnabled);
}

TEST_F(MassStorageDetection, OtherEventsAndThePortablePathLeaveTheListAlone) {
  Plug(Player("0128"), "PLAYER");
  EXPECT_TRUE(detection_.OnDeviceChange(0x0007));
  EXPECT_TRUE(detection_.massStoragePlayers().records().empty());
  EXPECT_TRUE(window_.statusTexts.empty());

  PlayerDetection portable(table_, PlayerSupport{true, true}, nullptr, window_, warnings_);
  EXPECT_TRUE(portable.OnDeviceChange(DBT_DEVICEARRIVAL));
  PlayerDetection off(table_, PlayerSupport{false, false}, nullptr, window_, warnings_);
  off.DetectAtStart();
  EXPECT_TRUE(off.OnDeviceChange(DBT_DEVICEARRIVAL));
  EXPECT_TRUE(window_.statusTexts.empty());
}

}  // namespace
