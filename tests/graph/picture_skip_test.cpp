// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures the video callback is sure to drop are left out by the decoder
// when nothing refers to them, and only those; the planner stops skipping
// once the decoded pictures no longer match their packets' times.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <set>

#include "graph/decoding_graph.h"
#include "graph/picture_skip_planner.h"
#include "tests/graph/sample_recorder.h"
#include "tests/support/test_paths.h"

namespace {

using kdx::DecodingGraph;
using kdx::FrameClock;
using kdx::PictureSkipPlanner;
using kdxtest::Completes;
using kdxtest::MediaPath;
using kdxtest::SampleRecorder;

// Drops the pictures on odd places of a 30 fps clip and says so in advance.
class OddPictureDropper : public SampleRecorder {
 public:
  static bool Odd(double time) { return std::lround(time * 30.0) % 2 == 1; }
  bool WillDrop(double time, std::span<const double>) const override { return Odd(time); }
};

std::vector<double> DeliveredTimes(bool decodeAll) {
  if (decodeAll) setenv("KDX_DECODE_ALL_PICTURES", "1", 1);
  DecodingGraph graph;
  OddPictureDropper video;
  SampleRecorder audio;
  EXPECT_EQ(graph.Build(MediaPath("bframes_h264.mp4"), DecodingGraph::Mode::Conversion), S_OK);
  EXPECT_TRUE(Completes(graph));
  graph.StopWhenReady();
  graph.SetVideoCallback(&video);
  graph.SetAudioCallback(&audio);
  EXPECT_EQ(graph.SetPositions(0, 10 * 10000000LL), S_OK);
  EXPECT_EQ(graph.Run(), S_OK);
  EXPECT_TRUE(Completes(graph));
  graph.Stop();
  unsetenv("KDX_DECODE_ALL_PICTURES");
  return video.times();
}

TEST(PictureSkipping, LeavesOutOnlyUnreferencedPicturesTheCallbackDrops) {
  const std::vector<double> all = DeliveredTimes(true);
  const std::vector<double> skipping = DeliveredTimes(false);
  ASSERT_EQ(all.size(), 120u);
  // About a third of the pictures are unreferenced B-frames, half of them
  // on odd places.
  EXPECT_LT(skipping.size(), all.size() - 10);
  const std::set<double> delivered(skipping.begin(), skipping.end());
  for (double t : all) {
    if (!OddPictureDropper::Odd(t)) {
      EXPECT_EQ(delivered.count(t), 1u) << "a kept picture went missing at " << t;
    }
  }
  EXPECT_TRUE(std::is_sorted(skipping.begin(), skipping.end()));
}

TEST(PictureSkipping, DecodesEverythingWhenSwitchedOff) {
  setenv("KDX_DECODE_ALL_PICTURES", "1", 1);
  EXPECT_FALSE(kdx::PictureSkippingAllowed());
  unsetenv("KDX_DECODE_ALL_PICTURES");
  EXPECT_TRUE(kdx::PictureSkippingAllowed());
}

// The planner on its own, with packets and pictures made up; the callback
// answers always the same and remembers what it was asked with.
class AnswersAlways : public kdx::ISampleGrabberCB {
 public:
  explicit AnswersAlways(bool drops) : drops_(drops) {}
  int SampleCB(double, kdx::IMediaSample*) override { return 0; }
  bool WillDrop(double, std::span<const double> earlier) const override {
    lastEarlier.assign(earlier.begin(), earlier.end());
    return drops_;
  }
  mutable std::vector<double> lastEarlier;

 private:
  const bool drops_;
};

struct PlannerFixture : ::testing::Test {
  FrameClock clock{AVRational{1, 10}, 0};
  PictureSkipPlanner planner{clock, true};
  AnswersAlways callback{true};
  AnswersAlways keeper{false};  // each picture asked about stays on its way

  bool Send(int64_t pts) {
    AVPacket packet{};
    packet.pts = pts;
    return planner.Skips(packet, &callback);
  }
  void Deliver(int64_t pts, int64_t bestEffort) {
    AVFrame frame{};
    frame.pts = pts;
    frame.best_effort_timestamp = bestEffort;
    planner.Delivered(frame, clock.SecondsOf(bestEffort));
  }
};

TEST_F(PlannerFixture, AsksWithThePicturesStillOnTheirWayBeforeThePacket) {
  PictureSkipPlanner off(clock, false);
  AVPacket packet{};
  packet.pts = 3;
  EXPECT_FALSE(off.Skips(packet, &callback));
  packet.pts = AV_NOPTS_VALUE;
  EXPECT_FALSE(planner.Skips(packet, &callback)) << "no time stamp, no decision";
  EXPECT_FALSE(planner.Skips(packet, nullptr));

  for (int64_t pts : {0, 4, 2, 1}) {
    AVPacket p{};
    p.pts = pts;
    EXPECT_FALSE(planner.Skips(p, &keeper));
  }
  EXPECT_EQ(keeper.lastEarlier, (std::vector<double>{0.0})) << "only pictures before the packet's time";
  AVPacket p{};
  p.pts = 3;
  EXPECT_TRUE(planner.Skips(p, &callback));
  EXPECT_EQ(callback.lastEarlier, (std::vector<double>{0.0, 0.1, 0.2}));
  Deliver(0, 0);
  Deliver(1, 1);
  EXPECT_TRUE(Send(5));
  EXPECT_EQ(callback.lastEarlier, (std::vector<double>{0.2, 0.4})) << "delivered pictures are off the way";
}

TEST_F(PlannerFixture, StopsWhenPicturesStopMatchingTheirPackets) {
  EXPECT_TRUE(Send(1));
  Deliver(7, 8);  // timed by a guess, not by its packet
  EXPECT_FALSE(Send(9));
}

TEST_F(PlannerFixture, StopsWhenPicturesComeOutOfOrder) {
  Deliver(5, 5);
  EXPECT_TRUE(Send(8));
  Deliver(4, 4);
  EXPECT_FALSE(Send(9));
}

TEST_F(PlannerFixture, StopsWhenAPictureOnItsWayIsLost) {
  AVPacket packet{};
  packet.pts = 2;
  EXPECT_FALSE(planner.Skips(packet, &keeper));
  EXPECT_TRUE(Send(3));
  Deliver(4, 4);  // the picture at 2 never came
  EXPECT_FALSE(Send(6));
}

TEST_F(PlannerFixture, StopsWhenTheDecoderKeepsSwallowingPictures) {
  AVPacket packet{};
  for (packet.pts = 0; packet.pts < 1000; ++packet.pts) planner.Skips(packet, &keeper);
  EXPECT_FALSE(Send(1000));
}

}  // namespace
