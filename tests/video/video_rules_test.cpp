#include <gtest/gtest.h>

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
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval(333333, 15), 1.0 / 15);  // 30 fps source
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval(1000000, 15), 0.1);      // 10 fps source
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval(666666, 15), 1.0 / 15);  // exactly the asked rate
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval(0, 20), 0.05);           // unknown source rate
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval(-5, 20), 0.05);
  EXPECT_DOUBLE_EQ(kdx::DecideFrameInterval(400000, 0), 1.0);        // a rate below 1 counts as 1
}

TEST(FrameInterval, MeasuredSourceIntervalUsesWholeFrameRates) {
  EXPECT_EQ(kdx::SourceIntervalFromMean(0.05), 500000);
  EXPECT_EQ(kdx::SourceIntervalFromMean(1.0 / 29.97), 344827);  // 29 whole frames per second
  EXPECT_EQ(kdx::SourceIntervalFromMean(0.0), 0);
  EXPECT_EQ(kdx::SourceIntervalFromMean(-0.1), 0);
  EXPECT_EQ(kdx::SourceIntervalFromMean(2.0), 0);  // under one frame a second
  EXPECT_EQ(kdx::SourceIntervalFromMean(std::numeric_limits<double>::quiet_NaN()), 0);
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
  EXPECT_DOUBLE_EQ(kdx::DueTimeTolerance(0.001, 333333, 1.0 / 15), 0.001);
  EXPECT_DOUBLE_EQ(kdx::DueTimeTolerance(0.001, 0, 1.0 / 30), 0.001);  // rate unknown: judged by T
  // Whole numbers of steps: exact times, whether they count frames (AVI),
  // milliseconds of 25 fps or 90 kHz ticks of 29.97 fps.
  EXPECT_EQ(kdx::DueTimeTolerance(1.0 / 25, 400000, 1.0 / 12), 0.0);
  EXPECT_EQ(kdx::DueTimeTolerance(0.001, 400000, 1.0 / 15), 0.0);
  EXPECT_EQ(kdx::DueTimeTolerance(1.0 / 90000, 333667, 1.0 / 15), 0.0);
  // Coarse steps never reach a neighbouring frame.
  EXPECT_DOUBLE_EQ(kdx::DueTimeTolerance(0.03, 333333, 1.0 / 15), 0.0333333 / 4);
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

TEST(JpegQualitySearch, NothingFitsEvenAtQualityOne) {
  kdx::JpegQualityState state;
  const kdx::JpegQualityChoice choice = kdx::SearchJpegQuality(state, 1000, [](int32_t) { return 5000; });
  EXPECT_FALSE(choice.fits);
  EXPECT_EQ(choice.quality, 1);
  EXPECT_EQ(choice.size, 5000);
}

}  // namespace
