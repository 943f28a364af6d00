// SPDX-License-Identifier: GPL-2.0-or-later
// Running the graph over a range: what reaches the callbacks, from which
// threads, and how stopping and restarting behave.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>

#include "graph/decoding_graph.h"
#include "tests/graph/sample_recorder.h"
#include "tests/support/test_paths.h"

namespace {

using kdx::DecodingGraph;
using kdxtest::Completes;
using kdxtest::MediaPath;
using kdxtest::SampleRecorder;
using Mode = DecodingGraph::Mode;

constexpr int64_t kSecond = 10000000;

// A conversion graph over the clip, its build pass finished, callbacks set.
void Prepare(DecodingGraph& graph, const std::string& clip, SampleRecorder& video, SampleRecorder& audio) {
  ASSERT_EQ(graph.Build(MediaPath(clip), Mode::Conversion), S_OK);
  ASSERT_TRUE(Completes(graph));
  graph.StopWhenReady();
  graph.SetVideoCallback(&video);
  graph.SetAudioCallback(&audio);
}

// Times in order, the range covered: something at or before its start
// (within one sample) and something at or after its stop.
void ExpectCovers(const std::vector<double>& times, double start, double stop, double sampleSeconds) {
  ASSERT_FALSE(times.empty());
  EXPECT_TRUE(std::is_sorted(times.begin(), times.end()));
  const auto first = std::find_if(times.begin(), times.end(), [&](double t) { return t >= start - sampleSeconds; });
  ASSERT_NE(first, times.end());
  EXPECT_LE(*first, start + sampleSeconds);
  EXPECT_GE(times.back(), stop);
  EXPECT_LT(times.back(), stop + 0.5);
}

TEST(DecodingGraphStreaming, RangeRunCoversTheRangeInOrderAndCompletes) {
  for (const char* clip : {"clip_h264_aac.mp4", "clip_mpeg2_mp2.mpg", "clip_wmv2_wma2.wmv", "clip_rv20_ac3.rm",
                           "clip_flv1_mp3.flv", "no_frame_rate.nut"}) {
    SCOPED_TRACE(clip);
    DecodingGraph graph;
    SampleRecorder video, audio;
    Prepare(graph, clip, video, audio);
    ASSERT_EQ(graph.SetPositions(kSecond, 2 * kSecond), S_OK);
    ASSERT_EQ(graph.Run(), S_OK);
    ASSERT_TRUE(Completes(graph));
    ExpectCovers(video.times(), 1.0, 2.0, 0.07);
    ExpectCovers(audio.times(), 1.0, 2.0, 0.1);
  }
}

TEST(DecodingGraphStreaming, TimesCountFromTheStartOfTheMedia) {
  // The program stream's clock starts at about half a second.
  DecodingGraph graph;
  SampleRecorder video, audio;
  Prepare(graph, "clip_mpeg2_mp2.mpg", video, audio);
  ASSERT_EQ(graph.SetPositions(0, kSecond / 2), S_OK);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_TRUE(Completes(graph));
  ASSERT_FALSE(video.times().empty());
  ASSERT_FALSE(audio.times().empty());
  EXPECT_NEAR(video.times().front(), 0.0, 0.05);
  EXPECT_NEAR(audio.times().front(), 0.0, 0.05);
}

TEST(DecodingGraphStreaming, RunAfterCompletionAndSeekWhileRunningRestart) {
  DecodingGraph graph;
  SampleRecorder video, audio;
  Prepare(graph, "clip_h264_aac.mp4", video, audio);
  ASSERT_EQ(graph.SetPositions(2 * kSecond, 2 * kSecond + kSecond / 5), S_OK);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_TRUE(Completes(graph));
  const std::vector<double> firstPass = video.times();

  video.Clear();
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_TRUE(Completes(graph));
  EXPECT_EQ(video.times(), firstPass);

  // A seek in the running (completed) graph streams again from there.
  video.Clear();
  ASSERT_EQ(graph.SetPositions(kSecond / 2, kSecond), S_OK);
  ASSERT_TRUE(Completes(graph));
  ExpectCovers(video.times(), 0.5, 1.0, 0.05);
}

TEST(DecodingGraphStreaming, PreviewBuildHandsOverTheFirstPicture) {
  DecodingGraph graph;
  SampleRecorder video(0);
  graph.SetVideoCallback(&video);
  ASSERT_EQ(graph.Build(MediaPath("video_only.mp4"), Mode::Preview), S_OK);
  ASSERT_TRUE(Completes(graph));
  ASSERT_EQ(video.times().size(), 1u);
  EXPECT_DOUBLE_EQ(video.times()[0], 0.0);
  EXPECT_EQ(video.kept().size(), 320u * 240u * 3u);
}

// Each callback waits until the other one is running too.
class Rendezvous : public kdx::ISampleGrabberCB {
 public:
  Rendezvous(std::mutex& mutex, std::condition_variable& changed, int& inside)
      : mutex_(mutex), changed_(changed), inside_(inside) {}
  int SampleCB(double, kdx::IMediaSample*) override {
    if (met_) return 0;
    std::unique_lock lock(mutex_);
    ++inside_;
    changed_.notify_all();
    met_ = changed_.wait_for(lock, std::chrono::seconds(20), [this] { return inside_ >= 2; });
    return 0;
  }
  bool met() const { return met_; }

 private:
  std::mutex& mutex_;
  std::condition_variable& changed_;
  int& inside_;
  bool met_ = false;
};

TEST(DecodingGraphStreaming, VideoAndAudioCallbacksRunConcurrentlyOnTwoThreads) {
  DecodingGraph graph;
  SampleRecorder video, audio;
  Prepare(graph, "clip_mpeg4_mp3.avi", video, audio);
  ASSERT_EQ(graph.SetPositions(0, kSecond), S_OK);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_TRUE(Completes(graph));
  const auto videoThreads = video.threads();
  const auto audioThreads = audio.threads();
  ASSERT_FALSE(videoThreads.empty());
  ASSERT_FALSE(audioThreads.empty());
  EXPECT_NE(videoThreads.front(), audioThreads.front());
  EXPECT_NE(videoThreads.front(), std::this_thread::get_id());

  graph.Stop();
  std::mutex mutex;
  std::condition_variable changed;
  int inside = 0;
  Rendezvous videoSide(mutex, changed, inside), audioSide(mutex, changed, inside);
  graph.SetVideoCallback(&videoSide);
  graph.SetAudioCallback(&audioSide);
  ASSERT_EQ(graph.Run(), S_OK);
  ASSERT_TRUE(Completes(graph));
  graph.Stop();
  EXPECT_TRUE(videoSide.met());
  EXPECT_TRUE(audioSide.met());
}

// Holds the streaming thread in its first call until released.
class Gate : public kdx::ISampleGrabberCB {
 public:
  int SampleCB(double, kdx::IMediaSample*) override {
    std::unique_lock lock(mutex_);
    ++calls_;
    entered_.notify_all();
    released_.wait(lock, [this] { return open_; });
    return 0;
  }
  void WaitUntilEntered() {
    std::unique_lock lock(mutex_);
    entered_.wait(lock, [this] { return calls_ > 0; });
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    released_.notify_all();
  }
  int calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable entered_, released_;
  int calls_ = 0;
  bool open_ = false;
};

TEST(DecodingGraphStreaming, StopInTheMiddleEndsDeliveryAndNeverCompletes) {
  DecodingGraph graph;
  Gate video;
  SampleRecorder audio;
  ASSERT_EQ(graph.Build(MediaPath("clip_h264_aac.mp4"), Mode::Conversion), S_OK);
  ASSERT_TRUE(Completes(graph));
  graph.Stop();
  graph.SetVideoCallback(&video);
  graph.SetAudioCallback(&audio);
  ASSERT_EQ(graph.SetPositions(0, 3 * kSecond), S_OK);
  ASSERT_EQ(graph.Run(), S_OK);
  video.WaitUntilEntered();

  // The callback is still running while Stop waits for its thread.
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    video.Open();
  });
  graph.Stop();
  releaser.join();
  const int videoCalls = video.calls();
  const size_t audioCalls = audio.times().size();
  long event = 0;
  EXPECT_EQ(graph.WaitForCompletion(100, &event), E_ABORT);
  EXPECT_EQ(video.calls(), videoCalls);
  EXPECT_EQ(audio.times().size(), audioCalls);
  // Bounded queues keep the sound from running far ahead of the held picture.
  if (audioCalls > 0) {
    EXPECT_LT(audio.times().back(), 2.5);
  }
}

TEST(DecodingGraphStreaming, DestroyingARunningGraphStopsIt) {
  SampleRecorder video, audio;
  {
    DecodingGraph graph;
    Prepare(graph, "clip_mpeg2_mp2.mpg", video, audio);
    ASSERT_EQ(graph.SetPositions(0, 3 * kSecond), S_OK);
    ASSERT_EQ(graph.Run(), S_OK);
  }
  const size_t delivered = video.times().size();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(video.times().size(), delivered);
}

}  // namespace
