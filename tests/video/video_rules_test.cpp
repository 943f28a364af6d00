#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "video/frame_interval.h"
#include "video/jpeg_quality_search.h"
#include "video/output_size.h"

namespace {

using kdx::ComputeOutputSize;

TEST(OutputSize, FitKeepsTheWholePictureAndItsAspectRatio) {
  const kdx::OutputSize wide = ComputeOutputSize(320, 240, 0, 128, 128, true);
  EXPECT_EQ(wide.width, 128);
  EXPECT_EQ(wide.height, 96);
  EXPECT_EQ(wide.cropWidth, 320);
  EXPECT_EQ(wide.cropHeight, 240);

  const kdx::OutputSize tall = ComputeOutputSize(240, 320, 0, 220, 176, true);
  EXPECT_EQ(tall.width, 132);
  EXPECT_EQ(tall.height, 176);

  const kdx::OutputSize small = ComputeOutputSize(64, 48, 0, 128, 128, true);
  EXPECT_EQ(small.width, 64);
  EXPECT_EQ(small.height, 48);
}

TEST(OutputSize, FillCropsTheLargestCentredPartOfTheOutputsShape) {
  const kdx::OutputSize square = ComputeOutputSize(320, 240, 0, 128, 128, false);
  EXPECT_EQ(square.width, 128);
  EXPECT_EQ(square.height, 128);
  EXPECT_EQ(square.cropWidth, 240);
  EXPECT_EQ(square.cropHeight, 240);

  const kdx::OutputSize screen = ComputeOutputSize(640, 480, 0, 220, 176, false);
  EXPECT_EQ(screen.cropWidth, 600);
  EXPECT_EQ(screen.cropHeight, 480);
}

TEST(OutputSize, QuarterTurnsSwapTheFramesSides) {
  for (int rotate : {1, 3}) {
    const kdx::OutputSize turned = ComputeOutputSize(320, 240, rotate, 128, 128, true);
    EXPECT_EQ(turned.sourceWidth, 240);
    EXPECT_EQ(turned.sourceHeight, 320);
    EXPECT_EQ(turned.width, 96);
    EXPECT_EQ(turned.height, 128);
  }
  const kdx::OutputSize half = ComputeOutputSize(320, 240, 2, 128, 128, true);
  EXPECT_EQ(half.width, 128);
  EXPECT_EQ(half.height, 96);
}

TEST(OutputSize, DegenerateSizesGiveNoOrTinyOutputWithoutDividingByZero) {
  EXPECT_EQ(ComputeOutputSize(0, 240, 0, 128, 128, true).width, 0);
  EXPECT_EQ(ComputeOutputSize(320, 240, 0, 0, 128, false).height, 0);
  const kdx::OutputSize line = ComputeOutputSize(2000, 1, 0, 128, 128, true);
  EXPECT_EQ(line.width, 128);
  EXPECT_EQ(line.height, 1);
}

TEST(FrameInterval, NeverFasterThanTheSourceOrTheAskedRate) {
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval({30, 1}, 15), 1.0 / 15);
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval({10, 1}, 15), 0.1);
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval({0, 1}, 20), 0.05);  // unknown source rate
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval({-5, 1}, 20), 0.05);
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval({25, 10}, 0), 1.0);  // a rate below 1 counts as 1
  // A rate derived from a frame count and a length, a hair below 15.
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval({149999, 10000}, 20), 1.0 / 15);
}

// Every whole source rate and the NTSC rates against every model's rate:
// the output keeps min(source, model) whole frames per second, and slots
// T apart pick each source frame (equal rates) or every k-th (k times the
// model's rate).
TEST(FrameInterval, EveryWholeAndNtscRateKeepsItsFramesAtEachModelsRate) {
  std::vector<kdx::FrameRate> sources;
  for (int64_t r = 1; r <= 120; ++r) sources.push_back({r, 1});
  for (int64_t r : {24000, 30000, 60000}) sources.push_back({r, 1001});
  for (const int32_t model : {12, 15, 20, 25, 30}) {
    for (const kdx::FrameRate source : sources) {
      SCOPED_TRACE(testing::Message() << source.num << "/" << source.den << " fps at " << model);
      const double T = kdx::DecideFrameInterval(source, model);
      const int64_t whole = std::min<int64_t>(source.num / source.den, model);
      EXPECT_EQ(static_cast<int64_t>(1.0 / T), whole);
      if (source.den != 1 || source.num % std::min<int64_t>(source.num, model) != 0) continue;
      const int64_t step = source.num / std::min<int64_t>(source.num, model);
      for (int64_t n = 0; n < 3 * source.num; ++n) {
        const double slotsBefore = std::floor(n / static_cast<double>(source.num) / T + 1e-6);
        if (n % step == 0) ASSERT_EQ(slotsBefore, n / step) << "frame " << n << " misses its slot";
      }
    }
  }
}

TEST(FrameInterval, MeasuredSourceRateIsWhole) {
  EXPECT_EQ(kdx::RateFromMean(0.05).num, 20);
  EXPECT_EQ(kdx::RateFromMean(1.0 / 29.97).num, 29);  // 29 whole frames per second
  EXPECT_EQ(kdx::RateFromMean(1.0 / 15).num, 15);
  EXPECT_FALSE(kdx::RateFromMean(0.0).Known());
  EXPECT_FALSE(kdx::RateFromMean(-0.1).Known());
  EXPECT_FALSE(kdx::RateFromMean(2.0).Known());  // under one frame a second
  EXPECT_FALSE(kdx::RateFromMean(std::numeric_limits<double>::quiet_NaN()).Known());
}

// Records every quality measured.
struct FakeEncoder {
  int32_t bytesPerQuality;
  std::vector<int32_t> tried;
  int32_t operator()(int32_t quality) {
    tried.push_back(quality);
    return quality * bytesPerQuality;
  }
};

TEST(FrameInterval, DueTimeToleranceCoversTheStampStepButNotANeighbouringFrame) {
  // 30 fps in whole milliseconds: rounded times.
  EXPECT_DOUBLE_EQ(kdx::DueTimeTolerance(0.001, {30, 1}, 1.0 / 15), 0.001);
  EXPECT_DOUBLE_EQ(kdx::DueTimeTolerance(0.001, {}, 1.0 / 30), 0.001);  // rate unknown: judged by T
  // Whole numbers of steps: exact times, whether they count frames (AVI),
  // milliseconds of 25 fps or 90 kHz ticks of 29.97 fps.
  EXPECT_EQ(kdx::DueTimeTolerance(1.0 / 25, {25, 1}, 1.0 / 12), 0.0);
  EXPECT_EQ(kdx::DueTimeTolerance(0.001, {25, 1}, 1.0 / 15), 0.0);
  EXPECT_EQ(kdx::DueTimeTolerance(1.0 / 90000, {30000, 1001}, 1.0 / 15), 0.0);
  // Coarse steps never reach a neighbouring frame.
  EXPECT_DOUBLE_EQ(kdx::DueTimeTolerance(0.03, {30, 1}, 1.0 / 15), 1.0 / 120);
}

TEST(JpegQualitySearch, EasyPictureClimbsTo98AndTheNextChunkStartsThere) {
  kdx::JpegQualityState state;
  FakeEncoder encoder{1, {}};
  const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, 1000, std::ref(encoder));
  EXPECT_EQ(encoder.tried, (std::vector<int32_t>{99, 1, 50, 74, 86, 92, 95, 97, 98, 98}));
  EXPECT_EQ(choice.quality, 98);
  EXPECT_TRUE(choice.fits);

  encoder.tried.clear();
  EXPECT_EQ(kdx::SearchJpegQuality(state, 1000, std::ref(encoder)).quality, 98);
  EXPECT_EQ(encoder.tried, (std::vector<int32_t>{99, 98, 98, 98}));
}

TEST(JpegQualitySearch, AfterTheNinetyPercentStopTakesTheHighestQualityThatStillFits) {
  kdx::JpegQualityState state;
  FakeEncoder encoder{10, {}};
  const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, 1000, std::ref(encoder));
  // Halving stops at 92 (920 bytes); 93 to 98 fit as well, 99 is the bound.
  EXPECT_EQ(encoder.tried, (std::vector<int32_t>{99, 1, 50, 74, 86, 92, 93, 94, 95, 96, 97, 98, 98}));
  EXPECT_EQ(choice.quality, 98);
  EXPECT_EQ(choice.size, 980);
  EXPECT_TRUE(choice.fits);

  // A harder picture: the climb stops below the first quality that overflows.
  kdx::JpegQualityState again;
  FakeEncoder harder{11, {}};
  const kdx::JpegQualityChoice hard = kdx::SearchJpegQuality(again, 1000, std::ref(harder));
  EXPECT_EQ(hard.quality, 90);
  EXPECT_EQ(hard.size, 990);
}

TEST(JpegQualitySearch, HarderPictureWidensTheLowerBoundAgain) {
  kdx::JpegQualityState state{98, 99, 98};  // after an easy chunk
  FakeEncoder encoder{20, {}};
  const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, 1200, std::ref(encoder));
  EXPECT_TRUE(choice.fits);
  EXPECT_LT(choice.size, 1200);
  EXPECT_GT(choice.size, 0.9 * 1200);
}

TEST(JpegQualitySearch, LowerBoundThatExactlyFillsTheBudgetDoesNotEndTheSearch) {
  kdx::JpegQualityState state{60, 99, 60};
  FakeEncoder encoder{20, {}};  // quality 60 gives exactly the budget
  const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, 1200, std::ref(encoder));
  EXPECT_TRUE(choice.fits);
  EXPECT_EQ(choice.quality, 59);
}

// Plain sizes from one fake encoder, optimised sizes from another, each
// recording the qualities asked for.
kdx::JpegQualityChoice SearchOptimised(kdx::JpegQualityState& state, FakeEncoder& plain, FakeEncoder& optimised) {
  return kdx::SearchOptimisedJpegQuality(state, 1000, std::ref(plain), std::ref(optimised));
}

TEST(JpegQualitySearch, OptimisedSearchWidensTheBudgetByTheLastSavingAndChecksTheChoice) {
  kdx::JpegQualityState state;
  // First chunk: nothing saved yet, so the plain search ends at 98 as
  // before; 98 fits once optimised (80 % of plain), and the saving is kept.
  FakeEncoder plain{10, {}}, optimised{8, {}};
  kdx::JpegQualityChoice choice = SearchOptimised(state, plain, optimised);
  EXPECT_EQ(choice.quality, 98);
  EXPECT_EQ(choice.size, 784);
  EXPECT_TRUE(choice.fits);
  EXPECT_DOUBLE_EQ(state.optimisedShare, 0.8);

  // Next chunk, a harder picture: the plain search aims at 1000 / 0.8 bytes.
  FakeEncoder harder{15, {}}, harderOptimised{12, {}};
  choice = SearchOptimised(state, harder, harderOptimised);
  EXPECT_EQ(choice.quality, 83);  // 83 * 15 < 1250 <= 84 * 15
  EXPECT_EQ(choice.size, 996);
  EXPECT_EQ(harderOptimised.tried, std::vector<int32_t>{83});

  // The saving shrinks: the widened choice overflows and steps down.
  FakeEncoder third{15, {}}, lessSaved{14, {}};
  choice = SearchOptimised(state, third, lessSaved);
  EXPECT_EQ(choice.quality, 71);  // 71 * 14 < 1000 <= 72 * 14
  EXPECT_TRUE(choice.fits);
  EXPECT_EQ(lessSaved.tried.front(), 83);
  EXPECT_EQ(state.current, 71);
}

TEST(JpegQualitySearch, NothingFitsEvenAtQualityOne) {
  kdx::JpegQualityState state;
  const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, 1000, [](int32_t) { return 5000; });
  EXPECT_FALSE(choice.fits);
  EXPECT_EQ(choice.quality, 1);
  EXPECT_EQ(choice.size, 5000);
}

}  // namespace
