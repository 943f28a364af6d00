// SPDX-License-Identifier: GPL-2.0-or-later
// Stopping a run at any moment leaves nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "kdx.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

namespace kdxtest {
namespace {

namespace fs = std::filesystem;

// Starts a conversion, stops it after the delay and checks the aftermath:
// one final message, and either no output at all or a finished file.
void StopAfter(const std::string& clip, std::chrono::microseconds delay, bool (*stopper)()) {
  MessageQueue queue;
  ScratchDir dir;
  const std::string out = dir.File("out.kdx");
  int64_t duration = 0;
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath(clip).c_str(), out.c_str(), &duration), S_OK);
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  ASSERT_EQ(Transcode(&request), 1);
  std::this_thread::sleep_for(delay);
  ASSERT_TRUE(stopper());
  RunMessages run = CollectRun(queue, std::chrono::seconds(30));
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.finalCount, 1) << clip << " stopped after " << delay.count() << " us";
  EXPECT_EQ(run.errorCount, 0);
  // A run that finished before the stop keeps its file; nothing else stays.
  const std::string listing = dir.Listing();
  EXPECT_TRUE(listing.empty() || listing == "out.kdx\n") << listing;
  CloseTranscoder();
}

bool Stop() { return StopTranscode() == 1; }
bool Close() { return CloseTranscoder() == 1; }

TEST(Stop, AtAnyMomentOfAnOrdinaryRun) {
  for (int delay : {0, 100, 2000, 20000, 80000, 200000, 400000}) {
    StopAfter("clip_h264_aac.mp4", std::chrono::microseconds(delay), Stop);
  }
}

TEST(Stop, DuringTheMeasuringPass) {
  for (int delay : {0, 1000, 30000, 120000}) {
    StopAfter("no_frame_rate.nut", std::chrono::microseconds(delay), Stop);
  }
}

TEST(Stop, ByClosingTheTranscoder) {
  for (int delay : {0, 50000, 250000}) StopAfter("clip_mpeg2_mp2.mpg", std::chrono::microseconds(delay), Close);
}

TEST(Stop, ByOpeningTheNextTranscoder) {
  MessageQueue queue;
  ScratchDir dir;
  int64_t duration = 0;
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath("clip_h264_aac.mp4").c_str(), dir.File("a.kdx").c_str(), &duration),
            S_OK);
  TRANSCODER_PARAM request = MakeRequest(queue.window(), 128, 128, true);
  ASSERT_EQ(Transcode(&request), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_EQ(NewTranscoder(queue.window(), MediaPath("clip_mpeg4_mp3.avi").c_str(), dir.File("b.kdx").c_str(), &duration),
            S_OK);
  RunMessages first = CollectRun(queue, std::chrono::seconds(10));
  EXPECT_EQ(first.finalCount, 1);
  // The first run either was stopped or had already finished its file.
  const bool firstFinished = fs::exists(dir.File("a.kdx"));
  // The new transcoder converts as usual.
  ASSERT_EQ(Transcode(&request), 1);
  RunMessages second = CollectRun(queue);
  EXPECT_EQ(second.finalCount, 1);
  EXPECT_EQ(dir.Listing(), firstFinished ? "a.kdx\nb.kdx\n" : "b.kdx\n");
  CloseTranscoder();
}

}  // namespace
}  // namespace kdxtest
