// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "platform/base/bitmap.h"
#include "platform/base/message_window.h"

namespace {

TEST(MessageQueue, DeliversPostsFromOtherThreadsInOrderPerThread) {
  MessageQueue queue;
  std::vector<std::thread> posters;
  for (int t = 0; t < 4; ++t) {
    posters.emplace_back([&queue, t] {
      for (int i = 0; i < 100; ++i) PostMessage(queue.window(), 0x401, static_cast<WPARAM>(t), i);
    });
  }
  for (auto& p : posters) p.join();
  std::vector<LPARAM> last(4, -1);
  WindowMessage m;
  int count = 0;
  while (queue.Get(m, std::chrono::milliseconds(0))) {
    ASSERT_LT(m.wParam, 4u);
    EXPECT_GT(m.lParam, last[m.wParam]);
    last[m.wParam] = m.lParam;
    ++count;
  }
  EXPECT_EQ(count, 400);
}

TEST(MessageQueue, GetTimesOutWhenEmptyAndWakesOnPost) {
  MessageQueue queue;
  WindowMessage m;
  EXPECT_FALSE(queue.Get(m, std::chrono::milliseconds(20)));
  std::thread poster([&queue] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PostMessage(queue.window(), 0x402, 1, 0);
  });
  EXPECT_TRUE(queue.Get(m, std::chrono::seconds(5)));
  EXPECT_EQ(m.message, 0x402u);
  EXPECT_EQ(m.wParam, 1u);
  poster.join();
}

TEST(MessageQueue, PostToNullWindowFails) { EXPECT_EQ(PostMessage(nullptr, 0x401, 0, 0), FALSE); }

TEST(MessageQueue, ClearFreesQueuedThumbnails) {
  MessageQueue queue;
  const uint8_t pixels[3] = {1, 2, 3};
  HBITMAP bitmap = CreateBitmapFromBGR24(1, 1, pixels, FALSE);
  PostMessage(queue.window(), 0x401, 5, reinterpret_cast<LPARAM>(bitmap));
  queue.Clear();  // the leak checker of the sanitizer build catches a miss
  WindowMessage m;
  EXPECT_FALSE(queue.Get(m, std::chrono::milliseconds(0)));
}

}  // namespace
