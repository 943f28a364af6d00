// SPDX-License-Identifier: GPL-2.0-or-later
// Pictures and sound on one time line: each output frame shows the source
// picture of its time, and each second's beep plays with it, whatever holes,
// rate changes, late starts and ranges the source brings.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

#include "tests/transcoder/kdx_check.h"
#include "tests/transcoder/run_harness.h"
#include "tests/transcoder/timeline_probe.h"

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
  // A second part from picture `secondFrom` on, muxed on its own, starts
  // its pictures at a different offset.
  int secondFrom = INT_MAX;
  double secondOffset = 0;
  double TimeOf(int n) const { return (n < secondFrom ? offset : secondOffset) + n / rate; }
  // Picture n shows the number n x codeStep (an interlaced frame's first
  // field shows every second picture of a clip of twice the rate).
  int codeStep = 1;
};

TRANSCODER_PARAM Request(double start = 0, double stop = 30) {
  TRANSCODER_PARAM request = MakeRequest(nullptr, 128, 128, true, 15);
  request.rtStart = std::llround(start * 1e7);
  request.rtStop = std::llround(stop * 1e7);
  return request;
}

// The code of the first picture from u until the next slot's time, at
// `until`; 0 when there is none.
int FirstCodeFrom(const SourcePictures& source, double u, double until) {
  for (int n = 0; n < source.drawn; ++n) {
    const double t = source.TimeOf(n);
    if (source.exists(n) && t >= u - kStampSlack && t < until - kStampSlack) return n * source.codeStep + 1;
  }
  return 0;
}

// Where output frame i is due: chunk i / F starts (i / F) / C seconds in,
// and its slots follow T apart.
double SlotTime(const kdxreader::KdxFile& file, double start, double T, size_t i) {
  const int F = file.geometry.F;
  return start + static_cast<double>(i / F) / file.geometry.C + static_cast<double>(i % F) * T;
}

// Each output frame shows the first picture of its time, else the one
// shown before it, black before the first; the frames last as long as the
// range covered, in whole chunks.
void ExpectCodesInStep(const kdxreader::KdxFile& file, const std::vector<int>& codes, const SourcePictures& source,
                       double start, double coveredSeconds, double T) {
  ASSERT_EQ(file.geometry.C * file.geometry.F, static_cast<int>(1.0 / T + 1e-6) / file.geometry.C * file.geometry.C);
  EXPECT_GE(file.playingSeconds, coveredSeconds - T) << "frames missing at the end";
  EXPECT_LE(file.playingSeconds, coveredSeconds + source.offset + 1.0 / file.geometry.C + kStampSlack)
      << "more than the last chunk added";
  int wrong = 0;
  int expected = 0;
  for (size_t i = 0; i < codes.size() && wrong < 5; ++i) {
    const double u = SlotTime(file, start, T, i);
    if (const int first = FirstCodeFrom(source, u, SlotTime(file, start, T, i + 1))) expected = first;
    if (codes[i] != expected) ++wrong;
    EXPECT_EQ(codes[i], expected) << "output frame " << i << " at " << u << " s shows picture " << codes[i] - 1;
  }
}

void ExpectPicturesInStep(const kdxreader::KdxFile& file, const SourcePictures& source, double start,
                          double coveredSeconds, double T = kOutputFrame) {
  ExpectCodesInStep(file, PictureCodes(file), source, start, coveredSeconds, T);
}

// The code of a square picture fitted into a wider frame: read from the
// frame's centre square.
int CentreSquareCode(const kdxreader::Picture& frame) {
  kdxreader::Picture square{frame.height, frame.height, {}};
  const int left = (frame.width - frame.height) / 2;
  for (int y = 0; y < frame.height; ++y)
    square.rgb.insert(square.rgb.end(), frame.Pixel(left, y), frame.Pixel(left, y) + 3 * frame.height);
  return PictureCode(square);
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

// Sources whose time line the engine must keep whole: source rates that are
// or are not a whole part of the output's, joined recordings whose time
// stamps start again, a still picture with long sound, a clip shorter than
// a chunk, sound whose rate changes midway and pictures whose size changes
// midway (then shown square, in the frame's middle), and interlaced
// pictures (shown from one field, without the other's comb). The pictures
// and the sound cover the whole clip, in step.
TEST(Timeline, EverySourceIsCoveredToItsEndInStep) {
  struct Case {
    const char* clip;
    SourcePictures source;
    double T;  // the output's frame interval
    double seconds;
    std::vector<double> beeps;
    double squareFrom = 1e9;  // the pictures turn square here
  };
  const std::vector<double> sixBeeps{0, 1, 2, 3, 4, 5};
  const auto kAll = [](int) { return true; };
  // The TS and PS muxers start the pictures a little after the sound.
  const Case cases[] = {
      {"timeline_joined.ts", {25, 0.011, 150}, kOutputFrame, 6, sixBeeps},
      {"timeline_joined.mpg", {25, 0.011, 150}, kOutputFrame, 6, sixBeeps},
      {"timeline_sound_rate_change.ts", {25, 0.0464, 150, kAll, 75, 0}, kOutputFrame, 6, sixBeeps},
      {"timeline_size_change.ts", {25, 0.0232, 150, kAll, 75, 0}, kOutputFrame, 6, sixBeeps, 3.0},
      {"timeline_interlaced.mp4", {25, 0, 75, kAll, INT_MAX, 0, 2}, kOutputFrame, 3, {0, 1, 2}},
      {"timeline_6fps.mp4", {6, 0, 18}, 1.0 / 6, 3, {0, 1, 2}},
      {"timeline_11fps.mp4", {11, 0, 33}, 1.0 / 11, 3, {0, 1, 2}},
      {"timeline_13fps.mp4", {13, 0, 39}, 1.0 / 13, 3, {0, 1, 2}},
      {"timeline_15fps.mp4", {15, 0, 45}, kOutputFrame, 3, {0, 1, 2}},
      {"timeline_25fps.mp4", {25, 0, 75}, kOutputFrame, 3, {0, 1, 2}},
      {"timeline_30fps.mp4", {30, 0, 90}, kOutputFrame, 3, {0, 1, 2}},
      {"timeline_still.mp4", {25, 0, 1}, kOutputFrame, 10, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {"timeline_0.1s.mp4", {25, 0, 3}, kOutputFrame, 0.1, {0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.clip);
    double duration = 0;
    const kdxreader::KdxFile file = ConvertCleanly(c.clip, Request(), &duration);
    EXPECT_NEAR(duration, c.seconds, 0.1) << "the length the transcoder reports";
    std::vector<int> codes = PictureCodes(file);
    const std::vector<kdxreader::Picture> frames = AllFrames(file);
    for (size_t i = 0; i < codes.size(); ++i) {
      if (SlotTime(file, 0, c.T, i) >= c.squareFrom) codes[i] = CentreSquareCode(frames[i]);
    }
    ExpectCodesInStep(file, codes, c.source, 0, c.seconds, c.T);
    ExpectBeepsAt(file, c.beeps);
    EXPECT_NEAR(file.sound.seconds, c.seconds, 0.1);
  }
  // HD without colour tags: red 200,30,30 made with the HD matrix comes
  // out as it went in (the SD matrix gave 184,11,31).
  const kdxreader::KdxFile red = ConvertCleanly("untagged_709_red.mp4", Request());
  const std::vector<kdxreader::Picture> frames = AllFrames(red);
  ASSERT_FALSE(frames.empty());
  const uint8_t* p = frames.back().Pixel(frames.back().width / 2, frames.back().height / 2);
  EXPECT_NEAR(p[0], 200, 6);
  EXPECT_NEAR(p[1], 30, 6);
  EXPECT_NEAR(p[2], 30, 6);
}

}  // namespace
}  // namespace kdxtest
