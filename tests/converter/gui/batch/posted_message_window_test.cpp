// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/posted_message_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <thread>

#include "platform/base/bitmap.h"
#include "kdx.h"

namespace {

TEST(PostedMessageWindow, HandlesPostsFromOtherThreadsOnItsOwn) {
  std::vector<WPARAM> received;
  QThread* handledOn = nullptr;
  PostedMessageWindow window([&](const WindowMessage& m) {
    received.push_back(m.wParam);
    handledOn = QThread::currentThread();
  });
  std::thread poster([&] {
    for (WPARAM percent : {1, 2, 100}) PostMessage(window.window(), WM_TRANSCODE_PROGRESS, percent, 0);
  });
  poster.join();
  EXPECT_TRUE(received.empty());  // never handled inside PostMessage
  QCoreApplication::processEvents();
  EXPECT_EQ(received, (std::vector<WPARAM>{1, 2, 100}));
  EXPECT_EQ(handledOn, QThread::currentThread());
}

TEST(PostedMessageWindow, FreesTheThumbnailsOfMessagesLeftUnhandled) {
  const uint8_t pixels[3 * 4] = {};
  {
    PostedMessageWindow window([](const WindowMessage&) { FAIL() << "handled after the window went"; });
    HBITMAP thumbnail = CreateBitmapFromBGR24(2, 2, pixels, FALSE);
    PostMessage(window.window(), WM_TRANSCODE_PROGRESS, 5, reinterpret_cast<LPARAM>(thumbnail));
  }
  // The leak checker of the sanitizer build sees a bitmap that was not freed.
  QCoreApplication::processEvents();
}

}  // namespace
