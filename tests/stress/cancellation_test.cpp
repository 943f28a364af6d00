// SPDX-License-Identifier: GPL-2.0-or-later
// Cancels conversions at random moments with each of the three calls that
// end a run, and checks every time that the library returns to idle with
// one final message and nothing left on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "tests/stress/cancelled_run.h"
#include "kdx.h"
#include "tests/transcoder/run_harness.h"

namespace kdxtest {
namespace {

using std::chrono::microseconds;

// Timing varies from run to run anyway; the seed at least replays the same
// moments. KDX_STRESS_SEED picks it.
unsigned StressSeed() {
  if (const char* seed = std::getenv("KDX_STRESS_SEED")) return static_cast<unsigned>(std::strtoul(seed, nullptr, 10));
  return std::random_device{}();
}

// KDX_STRESS_SCALE multiplies the number of runs: fewer where every run is
// slow (ThreadSanitizer), more for a long search.
double RunScale() {
  const char* scale = std::getenv("KDX_STRESS_SCALE");
  return scale != nullptr ? std::max(0.0, std::strtod(scale, nullptr)) : 1.0;
}

int Scaled(int runs) { return static_cast<int>(std::ceil(runs * RunScale())); }

microseconds RandomDelay(std::mt19937& random, microseconds longest) {
  return microseconds(std::uniform_int_distribution<int64_t>(0, std::max<int64_t>(0, longest.count()))(random));
}

long long Milliseconds(microseconds time) { return static_cast<long long>(time.count() / 1000); }

struct Plan {
  int atOnce = 0;           // right after Transcode returns
  int anyTime = 0;          // anywhere in the whole run and a little beyond it
  int settingUp = 0;        // as soon as the run has made its folder
  int writingSound = 0;     // once the destination exists, before the chunks
  int appendingChunks = 0;  // as soon as the chunks follow the sound part
  // anyTime only until the destination appears: setup and measuring pass.
  bool beforeDestinationOnly = false;
};

std::vector<CancelMoment> Moments(const Plan& plan, const ReferenceRun& reference, std::mt19937& random) {
  std::vector<CancelMoment> moments(Scaled(plan.atOnce));
  const microseconds window = plan.beforeDestinationOnly ? reference.writingSoundFrom : reference.end * 11 / 10;
  for (int i = 0; i < Scaled(plan.anyTime); ++i) moments.push_back({RunPhase::NotStarted, RandomDelay(random, window)});
  for (int i = 0; i < Scaled(plan.settingUp); ++i) moments.push_back({RunPhase::BeforeDestination, microseconds(0)});
  const microseconds soundLasts = reference.appendingChunksFrom - reference.writingSoundFrom;
  for (int i = 0; i < Scaled(plan.writingSound); ++i)
    moments.push_back({RunPhase::WritingSound, RandomDelay(random, soundLasts)});
  for (int i = 0; i < Scaled(plan.appendingChunks); ++i) moments.push_back({RunPhase::AppendingChunks, microseconds(0)});
  std::shuffle(moments.begin(), moments.end(), random);
  return moments;
}

// Cancels a run at each planned moment and then converts once more without
// interruption, which must start and give the reference file again.
void CancelManyRuns(const std::string& clip, const std::vector<Canceller>& cancellers, const Plan& plan) {
  const unsigned seed = StressSeed();
  SCOPED_TRACE("KDX_STRESS_SEED=" + std::to_string(seed));
  std::mt19937 random(seed);
  MessageQueue queue;
  const ReferenceRun reference = MakeReferenceRun(clip, queue);
  ASSERT_FALSE(reference.file.empty());
  std::printf("%s converts in %lld ms: destination from %lld ms, chunks from %lld ms\n", clip.c_str(),
              Milliseconds(reference.end), Milliseconds(reference.writingSoundFrom),
              Milliseconds(reference.appendingChunksFrom));

  for (Canceller canceller : cancellers) {
    std::array<int, kRunPhaseCount> reached{};
    int runs = 0;
    microseconds slowestCancel{0};
    for (const CancelMoment& moment : Moments(plan, reference, random)) {
      SCOPED_TRACE(std::string(CancellerName(canceller)) + " after " + std::to_string(moment.delay.count()) +
                   " us from " + RunPhaseName(moment.trigger) + ", run " + std::to_string(runs));
      const CancelOutcome outcome = CancelRun(reference, canceller, moment, queue);
      ++reached[static_cast<int>(outcome.reached)];
      slowestCancel = std::max(slowestCancel, outcome.cancelTook);
      ++runs;
      if (testing::Test::HasFailure()) return;
    }
    std::printf("%s cancelled %d runs of %s:", CancellerName(canceller), runs, clip.c_str());
    for (int phase = 0; phase < kRunPhaseCount; ++phase)
      std::printf(" %d %s;", reached[phase], RunPhaseName(static_cast<RunPhase>(phase)));
    std::printf(" the slowest returned after %lld ms\n", Milliseconds(slowestCancel));
  }

  // Back to idle: a fresh transcoder converts as if nothing had happened.
  EXPECT_TRUE(MakeReferenceRun(clip, queue).file == reference.file);
}

constexpr char kLongClip[] = "long_320x240.mp4";
constexpr Plan kLongClipPlan{.atOnce = 6, .anyTime = 40, .settingUp = 6, .writingSound = 10, .appendingChunks = 10};

TEST(Cancellation, ByStopTranscodeAtRandomMoments) {
  CancelManyRuns(kLongClip, {Canceller::StopTranscode}, kLongClipPlan);
}

TEST(Cancellation, ByCloseTranscoderAtRandomMoments) {
  CancelManyRuns(kLongClip, {Canceller::CloseTranscoder}, kLongClipPlan);
}

TEST(Cancellation, ByOpeningTheNextTranscoderAtRandomMoments) {
  CancelManyRuns(kLongClip, {Canceller::NewTranscoder}, kLongClipPlan);
}

// This clip states no frame rate: its run measures it over the first three
// of its four seconds before the destination is made.
TEST(Cancellation, DuringTheMeasuringPass) {
  CancelManyRuns("no_frame_rate.nut", {Canceller::StopTranscode, Canceller::CloseTranscoder, Canceller::NewTranscoder},
                 Plan{.anyTime = 10, .beforeDestinationOnly = true});
}

}  // namespace
}  // namespace kdxtest
