// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>
#include <poll.h>

#include "platform/players/device_change_notices.h"
#include "tests/support/fixture_machine.h"
#include "platform/base/message_window.h"
#include "platform/players/mount_table_watch.h"

namespace {

using namespace std::chrono_literals;

// The next WM_DEVICECHANGE event code, 0 when none came in time.
WPARAM NextDeviceChange(MessageQueue& queue) {
  WindowMessage message;
  if (!queue.Get(message, 5s)) return 0;
  EXPECT_EQ(message.message, static_cast<UINT>(WM_DEVICECHANGE));
  return message.wParam;
}

TEST(DeviceChangeNotices, RewrittenMountTableBecomesArrivalAndRemovalNotices) {
  kdxtest::FixtureMachine machine;
  std::string player = machine.AddUsbDisk({});
  std::string fixed = machine.AddSataDisk();
  MessageQueue queue;
  DeviceChangeNotices notices(queue.window());
  ASSERT_TRUE(notices.watching());

  // A mount that gets no letter says nothing; the player's mount is the first notice.
  std::string data = machine.Mount(fixed, "DATA");
  std::string mountPoint = machine.Mount(player, "PLAYER");
  EXPECT_EQ(NextDeviceChange(queue), static_cast<WPARAM>(DBT_DEVICEARRIVAL));
  machine.Unmount(data);
  machine.Unmount(mountPoint);
  EXPECT_EQ(NextDeviceChange(queue), static_cast<WPARAM>(DBT_DEVICEREMOVECOMPLETE));
  WindowMessage extra;
  EXPECT_FALSE(queue.Get(extra, 300ms)) << "a change without a lettered volume made a notice";
}

TEST(MountTableWatch, TheLiveTableIsPolledForPriorityNotices) {
  MountTableWatch watch("/proc/self/mountinfo");
  ASSERT_GE(watch.fd(), 0);
  EXPECT_EQ(watch.events(), POLLPRI);
  pollfd fd{watch.fd(), watch.events(), 0};
  EXPECT_EQ(::poll(&fd, 1, 0), 0) << "no change is pending right after opening";
  EXPECT_EQ(MountTableWatch("/no/such/folder/mountinfo").fd(), -1);
}

}  // namespace
