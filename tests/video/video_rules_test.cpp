// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
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
        if (n % step == 0) {
          ASSERT_EQ(slotsBefore, n / step) << "frame " << n << " misses its slot";
        }
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

TEST(JpegQualitySearch, TakesTheHighestQualityThatFitsFromWhereverTheLastChunkEnded) {
  struct Case {
    int32_t start;  // the last chunk's quality
    int32_t bytesPerQuality;
    int32_t budget;
    int32_t quality;  // expected
  };
  for (const Case& c : {Case{50, 1, 1000, 98},    // easy: 99 is never taken
                        Case{50, 10, 1000, 98},   // 980 bytes
                        Case{50, 11, 1000, 90},   // 990 bytes, 91 overflows
                        Case{98, 20, 1200, 59},   // harder than the last chunk
                        Case{60, 20, 1200, 59},   // the start exactly fills the budget
                        Case{1, 1, 1000, 98},     // from the bottom to the top
                        Case{50, 17, 1635, 96}}) {
    kdx::JpegQualityState state{c.start};
    FakeEncoder encoder{c.bytesPerQuality, {}};
    const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, c.budget, std::ref(encoder));
    EXPECT_EQ(choice.quality, c.quality) << c.start << " " << c.bytesPerQuality;
    EXPECT_EQ(choice.size, c.quality * c.bytesPerQuality);
    EXPECT_TRUE(choice.fits);
    EXPECT_EQ(state.current, c.quality);
    // The next chunk, alike, costs one encoding.
    encoder.tried.clear();
    EXPECT_EQ(kdx::SearchJpegQuality(state, c.budget, std::ref(encoder)).quality, c.quality);
    EXPECT_EQ(encoder.tried.size(), c.quality == 98 ? 1u : 2u);
  }
}

TEST(JpegQualitySearch, AnySizeCurveAndStartGiveTheTopFittingQualityEachMeasuredOnce) {
  std::mt19937 random(26);
  for (int round = 0; round < 2000; ++round) {
    // Sizes that grow with the quality, in steps of any height, some flat.
    std::vector<int32_t> sizes(100);
    int32_t size = static_cast<int32_t>(random() % 400);
    for (int32_t& s : sizes) s = size += static_cast<int32_t>(random() % 60);
    const int32_t budget = static_cast<int32_t>(random() % 5000) + 1;
    int32_t expected = 1;
    for (int32_t q = 1; q <= 98; ++q)
      if (sizes[q] < budget) expected = q;
    kdx::JpegQualityState state{static_cast<int32_t>(random() % 98) + 1};
    std::vector<int32_t> tried;
    const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, budget, [&](int32_t q) {
      tried.push_back(q);
      return sizes[q];
    });
    ASSERT_EQ(choice.quality, expected) << "round " << round;
    EXPECT_EQ(choice.fits, sizes[expected] < budget);
    std::sort(tried.begin(), tried.end());
    EXPECT_EQ(std::adjacent_find(tried.begin(), tried.end()), tried.end()) << "round " << round;
    EXPECT_LE(tried.size(), 14u);
  }
}

TEST(JpegQualitySearch, NothingFitsEvenAtQualityOne) {
  kdx::JpegQualityState state;
  const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, 1000, [](int32_t) { return 5000; });
  EXPECT_FALSE(choice.fits);
  EXPECT_EQ(choice.quality, 1);
  EXPECT_EQ(choice.size, 5000);
}

}  // namespace
