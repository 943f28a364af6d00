// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>

#include "platform/players/device_change_notices.h"
#include "converter/gui/players/dialog_players.h"
#include "tests/converter/players/fake_device_manager.h"
#include "tests/support/fixture_machine.h"
#include "converter/gui/widgets/posted_message_window.h"
#include "tests/converter/players/player_test_doubles.h"
#include "tests/converter/core/test_env.h"

namespace {

const std::string kPlayerName = "\\\\?\\USB#VID_1F3A&PID_0176#MTP1.5#{6ac27878-a6fa-4155-ba85-f98f491d4f33}";

// A main window's player support on a fixture machine, its device messages
// handled as the window's event loop delivers them.
class DialogPlayersTest : public ::testing::Test {
 protected:
  DialogPlayersTest() { LoadPlayerTable(dir_, table_); }

  void Start(PlayerSupport support, CWMDM* wmdm = nullptr) {
    players_ = std::make_unique<DialogPlayers>(table_, support, wmdm, window_, messages_.window());
    players_->DetectAtStart();
  }
  // Runs the event loop until the status line reads `text`.
  bool WaitForStatus(const std::string& text) {
    return QTest::qWaitFor([&] { return window_.status() == text; }, 5000);
  }

  ScratchLog log_;
  kdxtest::ScratchDir dir_;
  kdxtest::FixtureMachine machine_;
  CTesselConfigFile table_;
  RecordingPlayerWindow window_;
  std::vector<UINT> unhandled_;
  PostedMessageWindow messages_{[this](const WindowMessage& message) {
    if (!players_ || !players_->HandleMessage(message)) unhandled_.push_back(message.message);
  }};
  // Goes before the handle its watches post to.
  std::unique_ptr<DialogPlayers> players_;
};

TEST_F(DialogPlayersTest, DrivesMountedAndUnmountedReachTheWindowThroughTheMountWatch) {
  Start(PlayerSupport{true, false});
  EXPECT_TRUE(window_.statusTexts.empty()) << "no player at start";

  std::string mountPoint = machine_.Mount(machine_.AddUsbDisk({}), "PLAYER");
  ASSERT_TRUE(WaitForStatus("Device Detected:     NK-128"));
  EXPECT_TRUE(window_.transferEnabled);
  EXPECT_TRUE(window_.transferTicked);
  EXPECT_FALSE(window_.selectorEnabled);

  machine_.Unmount(mountPoint);
  ASSERT_TRUE(WaitForStatus("No Supported Player Detected!"));
  EXPECT_FALSE(window_.transferTicked);
  EXPECT_TRUE(players_->detection().massStoragePlayers().records().empty());
}

TEST_F(DialogPlayersTest, PortablePlayersArriveThroughTheDeviceManagersNotifications) {
  FakeDeviceManager manager;
  CWMDM& wmdm = *manager.wmdm;
  ASSERT_EQ(wmdm.Initialize(), S_OK);
  manager.backend->Add(kPlayerName, "Pocket");
  Start(PlayerSupport{true, true}, &wmdm);
  EXPECT_EQ(window_.status(), "Player Detected:     NK-176T") << "a player already connected is found at start";

  wmdm.Notifications()->WMDMMessage(WMDM_MSG_DEVICE_REMOVAL, kPlayerName);
  ASSERT_TRUE(WaitForStatus("No Supported Player Detected!"));
  wmdm.Notifications()->WMDMMessage(WMDM_MSG_DEVICE_ARRIVAL, kPlayerName);
  ASSERT_TRUE(WaitForStatus("Player Detected:     NK-176T"));

  players_.reset();
  wmdm.Notifications()->WMDMMessage(WMDM_MSG_DEVICE_ARRIVAL, kPlayerName);
  QTest::qWait(50);
  EXPECT_TRUE(unhandled_.empty()) << "a closed window hears of nothing";
  wmdm.Uninitialize();
}

TEST_F(DialogPlayersTest, WithoutPlayerSupportNothingIsWatchedOrAnnounced) {
  machine_.Mount(machine_.AddUsbDisk({}), "PLAYER");
  Start(PlayerSupport{false, false});
  PostMessage(messages_.window(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
  PostMessage(messages_.window(), WM_USER + 1, 0, 0);
  QTest::qWait(50);
  EXPECT_TRUE(window_.statusTexts.empty());
  EXPECT_EQ(unhandled_, std::vector<UINT>{WM_USER + 1}) << "other messages are left to the window";
}

}  // namespace
