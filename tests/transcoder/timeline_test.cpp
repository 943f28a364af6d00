// Pictures and sound on one time line: each output frame shows the source
// picture of its time, and each second's beep plays with it, whatever holes,
// rate changes, late starts and ranges the source brings.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "kdx_check.h"
#include "run_harness.h"
#include "timeline_probe.h"

namespace kdxtest {
namespace {

constexpr double kOutputFrame = 1.0 / 15;
constexpr double kStampSlack = 0.001;

// The pictures of a time-line clip: picture n (of those drawn, before any
// were removed) lies at offset + n / rate when it exists.
struct SourcePictures {
  double rate = 30;
  double offset = 0;
  int drawn = 0;
  std::function<bool(int)> exists = [](int) { return true; };
  double TimeOf(int n) const { return offset + n / rate; }
};

TRANSCODER_PARAM Request(double start = 0, double stop = 30) {
  TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true, 15);
  request.rtStart = std::llround(start * 1e7);
  request.rtStop = std::llround(stop * 1e7);
  return request;
}

// The code of the first picture from u until the next output frame's time;
// 0 when there is none.
int FirstCodeFrom(const SourcePictures& source, double u) {
  for (int n = 0; n < source.drawn; ++n) {
    const double t = source.TimeOf(n);
    if (source.exists(n) && t >= u - kStampSlack && t < u + kOutputFrame - kStampSlack) return n + 1;
  }
  return 0;
}

// Each output frame shows the first picture of its time, else the one
// shown before it, black before the first.
void ExpectPicturesInStep(const kdxreader::KdxFile& file, const SourcePictures& source, double start,
                          double coveredSeconds) {
  ASSERT_EQ(file.geometry.C * file.geometry.F, 15);
  const std::vector<int> codes = PictureCodes(file);
  EXPECT_GE(codes.size() * kOutputFrame, coveredSeconds - 1.0 / file.geometry.C) << "frames missing at the end";
  int wrong = 0;
  int expected = 0;
  for (size_t i = 0; i < codes.size() && wrong < 5; ++i) {
    const double u = start + i * kOutputFrame;
    if (const int first = FirstCodeFrom(source, u)) expected = first;
    if (codes[i] != expected) ++wrong;
    EXPECT_EQ(codes[i], expected) << "output frame " << i << " at " << u << " s shows picture " << codes[i] - 1;
  }
}

void ExpectBeepsAt(const kdxreader::KdxFile& file, const std::vector<double>& seconds) {
  const std::vector<double> onsets = BeepOnsets(file);
  ASSERT_EQ(onsets.size(), seconds.size()) << "beeps found: " << ::testing::PrintToString(onsets);
  for (size_t i = 0; i < onsets.size(); ++i) EXPECT_NEAR(onsets[i], seconds[i], kOutputFrame) << "beep " << i;
}

TEST(Timeline, HoleInThePicturesHoldsTheLastPictureAndKeepsStepAfterIt) {
  const kdxreader::KdxFile file = ConvertCleanly("timeline_holes.mp4", Request());
  SourcePictures source{30, 0, 210, [](int n) { return n < 60 || n > 120; }};
  ExpectPicturesInStep(file, source, 0, 7);
  ExpectBeepsAt(file, {0, 1, 2, 3, 4, 5, 6});
}

TEST(Timeline, RateDroppingMidwayFillsEverySlot) {
  const kdxreader::KdxFile file = ConvertCleanly("timeline_rate_drop.mp4", Request());
  SourcePictures source{30, 0, 240, [](int n) { return n < 150 || n % 3 == 0; }};
  ExpectPicturesInStep(file, source, 0, 8);
  ExpectBeepsAt(file, {0, 1, 2, 3, 4, 5, 6, 7});
}

TEST(Timeline, SoundStartingLateIsPrecededBySilence) {
  const kdxreader::KdxFile file = ConvertCleanly("timeline_late_sound.mkv", Request());
  ExpectPicturesInStep(file, SourcePictures{25, 0, 175}, 0, 7);
  ExpectBeepsAt(file, {2, 3, 4, 5, 6});
}

TEST(Timeline, PicturesStartingLateArePrecededByBlack) {
  const kdxreader::KdxFile file = ConvertCleanly("timeline_late_pictures.mkv", Request());
  ExpectPicturesInStep(file, SourcePictures{25, 2, 125}, 0, 7);
  ExpectBeepsAt(file, {0, 1, 2, 3, 4, 5, 6});
}

TEST(Timeline, HoleInTheSoundIsFilledWithSilence) {
  const kdxreader::KdxFile file = ConvertCleanly("timeline_sound_hole.mkv", Request());
  ExpectBeepsAt(file, {0, 1, 4, 5});
  EXPECT_NEAR(file.sound.seconds, 6.0, 0.1);
}

TEST(Timeline, RangeStartCutsTheSoundBufferItFallsIn) {
  // Buffers of 0.68 s: the one from 2.72 s holds the range's start.
  const kdxreader::KdxFile file = ConvertCleanly("timeline_long_buffers.mkv", Request(3, 6));
  ExpectPicturesInStep(file, SourcePictures{25, 0, 150}, 3, 3);
  ExpectBeepsAt(file, {0, 1, 2});
}

TEST(Timeline, MillisecondTimeStampsKeepEverySecondFrame) {
  const kdxreader::KdxFile file = ConvertCleanly("timeline_30fps.mkv", Request());
  const std::vector<int> codes = PictureCodes(file);
  ASSERT_GT(codes.size(), 40u);
  for (size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(codes[i], static_cast<int>(2 * i + 1)) << "output frame " << i;
}

TEST(Timeline, SourceWithoutARateIsMeasuredFromTheRangesStart) {
  // 10 fps, not stated; a range well past a tenth of its end.
  const kdxreader::KdxFile file = ConvertCleanly("timeline_10fps_no_rate.nut", Request(10, 15));
  EXPECT_EQ(file.geometry.C * file.geometry.F, 10);
  const std::vector<int> codes = PictureCodes(file);
  ASSERT_GE(codes.size(), 40u);
  for (size_t i = 0; i < codes.size(); ++i) EXPECT_EQ(codes[i], static_cast<int>(101 + i)) << "output frame " << i;
}

}  // namespace
}  // namespace kdxtest
