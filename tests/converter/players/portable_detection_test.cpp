// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <thread>

#include "converter/players/portable_players.h"
#include "converter/players/WMDM.h"
#include "tests/converter/players/fake_device_backend.h"
#include "tests/support/fixture_machine.h"
#include "platform/players/mass_storage_backend.h"
#include "platform/base/message_window.h"
#include "converter/players/player_detection.h"
#include "tests/converter/players/player_test_doubles.h"
#include "tests/converter/core/test_env.h"

namespace {

using namespace std::chrono_literals;

const std::string kPlayerName = "\\\\?\\USB#VID_1F3A&PID_0128#MTP1.5#{6ac27878-a6fa-4155-ba85-f98f491d4f33}";

// The portable-device path over a libmtp-like fake and the real USB volumes
// of a fixture machine.
class PortableDetection : public ::testing::Test {
 protected:
  PortableDetection() {
    LoadPlayerTable(dir_, table_);
    auto mtp = std::make_unique<FakeDeviceBackend>(DeviceProtocol::Mtp, "\\\\?\\USB");
    auto volumes = std::make_unique<FakeDeviceBackend>(DeviceProtocol::MassStorage, "\\\\?\\STORAGE#FAKE");
    mtp_ = mtp.get();
    volumes_ = volumes.get();
    std::vector<std::unique_ptr<PortableDeviceBackend>> backends;
    backends.push_back(std::move(mtp));
    backends.push_back(std::move(volumes));
    backends.push_back(std::make_unique<MassStorageBackend>());
    service_ = std::make_unique<PortableDeviceService>(std::move(backends));
  }

  const auto& Records() { return list_.records(); }

  ScratchLog log_;
  kdxtest::ScratchDir dir_;
  kdxtest::FixtureMachine machine_;
  CTesselConfigFile table_;
  FakeDeviceBackend* mtp_;
  FakeDeviceBackend* volumes_;
  std::unique_ptr<PortableDeviceService> service_;
  RecordingPlayerWindow window_;
  PortablePlayers list_{table_};
};

TEST_F(PortableDetection, CanonicalNamesWithIdentifiersAreRecognisedByThemAlone) {
  mtp_->Add(kPlayerName, "My Player");
  mtp_->Add("\\\\?\\usb#vid_1f3a&pid_0176#mtp1.6", "Other");
  mtp_->Add("\\\\?\\usb#vid_1f3a#mtp1.7", "No pid");
  mtp_->Add("\\\\?\\usb#vid_05e3&pid_0727#mtp1.8", "Unlisted");
  mtp_->Add("\\\\?\\usb#mtp1.9", "No vid");
  window_.converting = true;  // the first enumeration does not check
  list_.EnumDevices(service_.get(), &window_);

  ASSERT_EQ(Records().size(), 3u);
  EXPECT_EQ(Records()[0]->m_vid, "1f3a");
  EXPECT_EQ(Records()[0]->m_pid, "0128");
  EXPECT_EQ(Records()[0]->m_szName, "My Player");
  EXPECT_EQ(Records()[0]->m_szModelName, "NK-128");
  EXPECT_EQ(Records()[0]->m_szTargetFolder, "\\VIDEO");
  EXPECT_EQ(Records()[0]->m_guidProtocol, DeviceProtocol::Mtp);
  EXPECT_EQ(Records()[0]->m_qwFreeKB, 32u << 10);
  EXPECT_EQ(Records()[1]->m_szModelName, "NK-176T");
  EXPECT_EQ(Records()[2]->m_pid, "");
  EXPECT_EQ(Records()[2]->m_szModelName, "NK-128") << "an empty PID matches the first entry of the vendor";
  EXPECT_EQ(window_.statusTexts.back(), "Player Detected:     NK-128");
  EXPECT_EQ(window_.selectionsApplied, 3);
  EXPECT_TRUE(window_.convertEnabled);
  EXPECT_NE(log_.Text().find("**EnumDevices** m_szName: \"My Player\", m_szUSBFriendlyName: \"\", m_pid: \"0128\""),
            std::string::npos);
  list_.EnumDevices(nullptr, &window_);
  EXPECT_TRUE(Records().empty());
}

TEST_F(PortableDetection, MassStorageDevicesAreRecognisedByTheirVolumeNeverByTheirName) {
  machine_.Mount(machine_.AddUsbDisk({}), "PLAYER");
  // A stick of another maker whose label names the player's letter.
  kdxtest::FixtureUsbDisk stick;
  stick.idVendor = "0781";
  stick.serial = "STICK";
  machine_.Mount(machine_.AddUsbDisk(stick), "STICK (D:)");
  volumes_->Add("\\\\?\\STORAGE#FAKE#1", "PLAYER (D:)");
  list_.EnumDevices(service_.get(), &window_);

  ASSERT_EQ(Records().size(), 1u);
  EXPECT_EQ(Records()[0]->m_szName, "PLAYER (D:)");
  EXPECT_EQ(Records()[0]->m_szModelName, "NK-128");
  EXPECT_EQ(Records()[0]->m_szUSBFriendlyName, "Norvik Player USB Device");
  EXPECT_EQ(Records()[0]->m_guidProtocol, DeviceProtocol::MassStorage);
  EXPECT_EQ(Records()[0]->m_pDevice->backend->Protocol(), DeviceProtocol::MassStorage);
  EXPECT_EQ(Records()[0]->m_pDevice->canonicalName.rfind("\\\\?\\STORAGE#RemovableMedia#", 0), 0u);

  CTesselItemData mtp;
  mtp.m_guidProtocol = DeviceProtocol::Mtp;
  mtp.m_szName = "Player (D:)";
  EXPECT_FALSE(list_.IsSupportedDevice(mtp));
}

TEST_F(PortableDetection, DoubleArrivalListsTwiceAndEachRemovalTakesOne) {
  mtp_->Add(kPlayerName, "My Player");
  list_.OnDeviceArrival(service_.get(), &window_, kPlayerName);
  list_.OnDeviceArrival(service_.get(), &window_, kPlayerName);
  ASSERT_EQ(Records().size(), 2u);
  EXPECT_NE(log_.Text().find("**CNotificationHandler** m_szName: \"My Player\""), std::string::npos);

  list_.OnDeviceRemoval(&window_, "\\\\?\\usb#vid_9999&pid_0001#gone");
  EXPECT_EQ(Records().size(), 2u);
  list_.OnDeviceRemoval(&window_, kPlayerName);
  EXPECT_EQ(Records().size(), 1u);
  EXPECT_EQ(window_.status(), "Player Detected:     NK-128");
  list_.OnDeviceRemoval(&window_, "\\\\?\\usb#VID_1F3A&pid_0128#mtp1.5#{6AC27878-A6FA-4155-BA85-F98F491D4F33}");
  EXPECT_TRUE(Records().empty());
  EXPECT_EQ(window_.status(), "No Supported Player Detected!");

  list_.OnDeviceArrival(service_.get(), &window_, "\\\\?\\usb#vid_1f3a&pid_0128#absent");
  list_.OnDeviceArrival(service_.get(), nullptr, kPlayerName);
  EXPECT_TRUE(Records().empty());
}

TEST_F(PortableDetection, AnArrivalDuringAConversionOffersTheTransferOnlyForTheSelectedModel) {
  mtp_->Add(kPlayerName, "My Player");
  window_.converting = true;
  window_.selected = 1;
  list_.OnDeviceArrival(service_.get(), &window_, kPlayerName);
  EXPECT_EQ(Records().size(), 1u);
  EXPECT_FALSE(window_.transferEnabled);
  EXPECT_EQ(window_.selectionsApplied, 0);
  EXPECT_NE(log_.Text().find("Connected differnet device during converting."), std::string::npos);
}

TEST_F(PortableDetection, NotificationsFromAnotherThreadAreHandledOnTheWindowsThread) {
  mtp_->Add(kPlayerName, "My Player");
  MessageQueue queue;
  CWMDM wmdm(std::move(service_));
  ASSERT_EQ(wmdm.Initialize(), S_OK);
  RecordingWarnings warnings;
  PlayerDetection detection(table_, PlayerSupport{true, true}, &wmdm, window_, warnings);
  wmdm.Notifications()->WMDMMessage(WMDM_MSG_DEVICE_ARRIVAL, kPlayerName);  // no main window yet: dropped
  wmdm.AttachMainWindow(queue.window());
  std::thread([&] {
    wmdm.Notifications()->WMDMMessage(WMDM_MSG_DEVICE_ARRIVAL, kPlayerName);
    wmdm.Notifications()->WMDMMessage(7, kPlayerName);
  }).join();
  EXPECT_TRUE(detection.portablePlayers().records().empty()) << "nothing runs on the notifying thread";

  WindowMessage message;
  ASSERT_TRUE(queue.Get(message, 5s));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_WMDM_NOTIFICATION));
  detection.OnDeviceNotifications();
  EXPECT_EQ(detection.portablePlayers().records().size(), 1u);
  EXPECT_FALSE(queue.Get(message, 0ms)) << "the ignored message type posts nothing";
  wmdm.Uninitialize();
}

TEST_F(PortableDetection, APlayerMountedAfterStartIsFollowedByTheRealWatch) {
  std::vector<std::unique_ptr<PortableDeviceBackend>> backends;
  backends.push_back(std::make_unique<MassStorageBackend>());
  MessageQueue queue;
  CWMDM wmdm(std::make_unique<PortableDeviceService>(std::move(backends)));
  ASSERT_EQ(wmdm.Initialize(), S_OK);
  wmdm.AttachMainWindow(queue.window());
  EXPECT_EQ(wmdm.m_dwCookie, 0u);
  RecordingWarnings warnings;
  PlayerDetection detection(table_, PlayerSupport{true, true}, &wmdm, window_, warnings);
  detection.DetectAtStart();
  EXPECT_TRUE(detection.portablePlayers().records().empty());

  std::string mountPoint = machine_.Mount(machine_.AddUsbDisk({}), "PLAYER");
  WindowMessage message;
  ASSERT_TRUE(queue.Get(message, 5s));
  detection.OnDeviceNotifications();
  ASSERT_EQ(detection.portablePlayers().records().size(), 1u);
  EXPECT_EQ(window_.status(), "Player Detected:     NK-128");

  machine_.Unmount(mountPoint);
  ASSERT_TRUE(queue.Get(message, 5s));
  detection.OnDeviceNotifications();
  EXPECT_TRUE(detection.portablePlayers().records().empty());
  EXPECT_EQ(window_.status(), "No Supported Player Detected!");
}

}  // namespace
