// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <IL/il.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <random>

#include "platform/base/bitmap.h"
#include "library_state.h"
#include "platform/base/message_window.h"
#include "tests/support/test_paths.h"
#include "video/frame_interval.h"
#include "video/image_library.h"
#include "video/video_grabber_cb.h"
#include "tests/video/video_test_support.h"
#include "writer/chunk_geometry.h"

namespace {

using videotest::Bgr;
using videotest::FakeFrame;
using videotest::Near;
using videotest::PaletteColour;

const double kFifteen = 1.0 / 15;

class VideoGrabber : public ::testing::Test {
 protected:
  void SetUp() override {
    kdx::InitImageLibrary();
    kdx::g_param = TRANSCODER_PARAM{};
    kdx::g_param.hWnd = queue_.window();
    kdx::g_param.nMaxWidth = 128;
    kdx::g_param.nMaxHeight = 128;
    kdx::g_param.bFitWhole = 1;
    kdx::g_param.nFrameRate = 15;
    kdx::g_param.nVideoKBps = 200 * 1024;
    kdx::g_param.nThumbStep = 1;
    kdx::g_state = TS_BUSY;
    videoPath_ = scratch_.File(".video");
    ASSERT_TRUE(video_.Open(videoPath_, kdx::BinaryFile::Mode::CreateReadWrite));
  }
  void TearDown() override {
    kdx::g_state = TS_IDLE;
    queue_.Clear();
  }

  void Start(int32_t width, int32_t height, double T, double start = 0.0, double stop = 1000.0) {
    grabber_.SetupOutputSize(width, height);
    grabber_.SetRange(start, stop);
    grabber_.SetFrameInterval(T);
    grabber_.Reset();
    grabber_.AttachFile(&video_);
  }
  // Detaches and closes ".video" and returns the JPEG of each record.
  std::vector<std::vector<uint8_t>> Finish() {
    grabber_.DetachFile();
    video_.Close();
    return videotest::ReadChunkJpegs(videoPath_, grabber_.Geometry().S);
  }
  size_t VideoBytes() const { return std::filesystem::file_size(videoPath_); }
  std::vector<WindowMessage> Messages() {
    std::vector<WindowMessage> all;
    WindowMessage m;
    while (queue_.Get(m, std::chrono::milliseconds(0))) all.push_back(m);
    return all;
  }

  MessageQueue queue_;
  kdxtest::ScratchDir scratch_;
  kdx::BinaryFile video_;
  std::string videoPath_;
  kdx::CVideoGrabberCB grabber_;
};

TEST_F(VideoGrabber, HalvesThirtyFramesASecondAndConvertsOnlyTheFramesItKeeps) {
  Start(64, 40, kdx::DecideFrameInterval({30, 1}, 15));  // one chunk of 15 frames a second
  std::vector<std::unique_ptr<FakeFrame>> frames;
  for (int i = 0; i < 60; ++i) {
    frames.push_back(std::make_unique<FakeFrame>(64, 40, PaletteColour(i)));
    grabber_.SampleCB(i / 30.0, frames.back().get());
  }
  EXPECT_EQ(grabber_.FrameCount(), 30);
  EXPECT_NEAR(grabber_.MeanInputInterval(), kFifteen, 1e-9);
  for (int i = 0; i < 60; ++i) EXPECT_EQ(frames[i]->pointerCalls, i % 2 == 0 ? 1 : 0) << "frame " << i;
}

TEST_F(VideoGrabber, PeriodOfferingMoreFramesThanAChunkHoldsKeepsTheFirstOnes) {
  // 15 frames a second of 72 rows: two chunks a second of 7 frames each,
  // while a half second offers 7 or 8 frames.
  Start(96, 72, kFifteen);
  const kdx::ChunkGeometry& g = grabber_.Geometry();
  ASSERT_EQ(g.F, 7);
  ASSERT_EQ(g.C, 2);
  std::vector<std::vector<int>> expected;  // frames each chunk should hold
  FakeFrame frame(96, 72, Bgr{});
  for (int i = 0; i < 48; ++i) {
    const size_t period = static_cast<size_t>(i * g.C / 15);
    if (expected.size() <= period) expected.resize(period + 1);
    if (static_cast<int>(expected[period].size()) < g.F) expected[period].push_back(i);
    frame.Paint(0, 0, 96, 72, PaletteColour(i));
    grabber_.SampleCB(i / 15.0, &frame);
  }
  const int32_t frameCount = grabber_.FrameCount();
  size_t placed = 0;
  for (const auto& period : expected) placed += period.size();
  EXPECT_EQ(frameCount, static_cast<int32_t>(placed));
  const auto jpegs = Finish();
  // The last, incomplete period is not written.
  ASSERT_EQ(jpegs.size(), expected.size() - 1);
  EXPECT_EQ(VideoBytes(), jpegs.size() * g.S);
  const int32_t chunksCounted = kdx::RoundFrameCount(frameCount, g.F) / g.F;
  EXPECT_TRUE(chunksCounted == static_cast<int32_t>(jpegs.size()) ||
              chunksCounted == static_cast<int32_t>(jpegs.size()) + 1)
      << frameCount << " frames for " << jpegs.size() << " chunks";
  for (size_t r = 0; r < jpegs.size(); ++r) {
    const videotest::Picture picture = videotest::DecodeJpeg(jpegs[r]);
    ASSERT_EQ(picture.height, g.F * g.P);
    for (int j = 0; j < g.F; ++j)
      EXPECT_TRUE(Near(picture.At(48, j * g.P + 36), PaletteColour(expected[r][j]))) << "chunk " << r << " slot " << j;
  }
}

// A frame of 100 rows: the top 60 in one colour, the bottom 40 in another.
void PaintTwoTone(FakeFrame& frame, Bgr top, Bgr bottom) {
  frame.Paint(0, 0, 128, 60, top);
  frame.Paint(0, 60, 128, 40, bottom);
}

TEST_F(VideoGrabber, SlotsRepeatTheBottomRowAndHoldTheLastFrameThroughHoles) {
  Start(128, 100, kFifteen);
  const kdx::ChunkGeometry& g = grabber_.Geometry();
  ASSERT_EQ(g.P, 112);
  ASSERT_EQ(g.F, 5);
  FakeFrame frame(128, 100, Bgr{});
  for (int j = 0; j < 5; ++j) {
    PaintTwoTone(frame, PaletteColour(j), PaletteColour(7 - j));
    grabber_.SampleCB(j / 15.0, &frame);
  }
  // The second chunk gets two frames, then the source jumps into the
  // second slot of the fifth chunk.
  for (int j = 0; j < 2; ++j) {
    PaintTwoTone(frame, PaletteColour(6 + j), PaletteColour(1 - j));
    grabber_.SampleCB(0.34 + j / 15.0, &frame);
  }
  PaintTwoTone(frame, PaletteColour(3), PaletteColour(3));
  grabber_.SampleCB(1.4, &frame);
  // Every slot up to the new frame's is written and counted.
  EXPECT_EQ(grabber_.FrameCount(), 4 * 5 + 2);
  const auto jpegs = Finish();
  ASSERT_EQ(jpegs.size(), 4u);
  for (size_t chunk = 1; chunk < 4; ++chunk) {
    const videotest::Picture picture = videotest::DecodeJpeg(jpegs[chunk]);
    ASSERT_EQ(picture.width, 128);
    ASSERT_EQ(picture.height, 5 * 112);
    for (int j = 0; j < 5; ++j) {
      const bool fresh = chunk == 1 && j < 2;
      const Bgr top = fresh ? PaletteColour(6 + j) : PaletteColour(7);
      const Bgr bottom = fresh ? PaletteColour(1 - j) : PaletteColour(0);
      const int slot = j * 112;
      EXPECT_TRUE(Near(picture.At(64, slot + 30), top)) << "chunk " << chunk << " slot " << j;
      EXPECT_TRUE(Near(picture.At(64, slot + 80), bottom)) << "chunk " << chunk << " slot " << j;
      EXPECT_TRUE(Near(picture.At(64, slot + 108), bottom)) << "filler of chunk " << chunk << " slot " << j;
    }
  }
}

TEST_F(VideoGrabber, TimesRoundedToTheMillisecondKeepEverySecondFrame) {
  // 30 frames a second stamped in whole milliseconds, as MKV and ASF do.
  grabber_.SetTimeTolerance(kdx::DueTimeTolerance(0.001, {30, 1}, kFifteen));
  Start(64, 40, kFifteen);
  std::vector<std::unique_ptr<FakeFrame>> frames;
  for (int i = 0; i < 60; ++i) {
    frames.push_back(std::make_unique<FakeFrame>(64, 40, PaletteColour(i)));
    grabber_.SampleCB(std::round(i * 1000.0 / 30) / 1000, frames.back().get());
  }
  for (int i = 0; i < 60; ++i) EXPECT_EQ(frames[i]->pointerCalls, i % 2 == 0 ? 1 : 0) << "frame " << i;
}

TEST_F(VideoGrabber, QuarterTurnSwapsTheOutputAndTurnsClockwise) {
  kdx::g_param.nRotate = 1;
  Start(64, 48, kFifteen);
  EXPECT_EQ(grabber_.Geometry().W, 48);
  EXPECT_EQ(grabber_.Geometry().H, 64);
  FakeFrame frame(64, 48, Bgr{200, 40, 40});
  frame.Paint(0, 0, 16, 16, Bgr{0, 0, 255});
  for (int i = 0; i <= 8; ++i) grabber_.SampleCB(i / 15.0, &frame);
  const auto jpegs = Finish();
  ASSERT_EQ(jpegs.size(), 1u);
  const videotest::Picture picture = videotest::DecodeJpeg(jpegs[0]);
  EXPECT_TRUE(Near(picture.At(40, 8), Bgr{0, 0, 255}));
  EXPECT_TRUE(Near(picture.At(8, 8), Bgr{200, 40, 40}));
  EXPECT_TRUE(Near(picture.At(40, 56), Bgr{200, 40, 40}));
}

// Records how it was called, then leaves another image bound.
std::vector<unsigned int> hookCalls;
void RecordingHook(unsigned int image) {
  hookCalls.push_back(image);
  hookCalls.push_back(static_cast<unsigned int>(ilGetInteger(IL_CUR_IMAGE)));
  ilBindImage(kdx::ThumbnailImage());
}

TEST_F(VideoGrabber, FrameHookGetsTheBoundWorkImageOncePerKeptFrame) {
  hookCalls.clear();
  kdx::g_param.pfnFrameHook = RecordingHook;
  kdx::g_param.nMaxWidth = 64;  // the frame is scaled after the hook
  Start(128, 80, kFifteen);
  FakeFrame frame(128, 80, PaletteColour(5));
  for (int i = 0; i < 32; ++i) grabber_.SampleCB(i / 30.0, &frame);
  const unsigned int work = kdx::WorkImage();
  EXPECT_EQ(hookCalls, std::vector<unsigned int>(2 * 16, work));
  const auto jpegs = Finish();
  ASSERT_EQ(jpegs.size(), 1u);
  EXPECT_TRUE(Near(videotest::DecodeJpeg(jpegs[0]).At(32, 20), PaletteColour(5)));
}

// The first chunk of a pass, easy or hard, gets the highest quality (up to
// 98) whose JPEG fits, with the image library's very bytes.
TEST_F(VideoGrabber, FirstChunkTakesTheHighestQualityThatFitsAndWritesThoseVeryBytes) {
  struct Case {
    bool noise;
    int32_t kbps;
  };
  for (const Case c : {Case{false, 200 * 1024}, Case{true, 60000}}) {
    SCOPED_TRACE(c.kbps);
    kdx::g_param.nVideoKBps = c.kbps;
    if (!video_.IsOpen()) {
      ASSERT_TRUE(video_.Open(videoPath_, kdx::BinaryFile::Mode::CreateReadWrite));
    }
    Start(128, 96, kFifteen);
    FakeFrame frame(128, 96, Bgr{90, 120, 150});
    if (c.noise) frame.PaintNoise(3);
    for (int i = 0; i <= 5; ++i) grabber_.SampleCB(i / 15.0, &frame);
    const auto jpegs = Finish();
    ASSERT_EQ(jpegs.size(), 1u);
    EXPECT_EQ(VideoBytes(), static_cast<size_t>(grabber_.Geometry().S));

    // All frames are alike, so the chunk picture still holds what was written.
    ilBindImage(kdx::ChunkImage());
    std::vector<uint8_t> best;
    int32_t bestQuality = 0;
    for (int32_t q = 1; q <= 98; ++q) {
      ilSetInteger(IL_JPG_QUALITY, q);
      const std::string path = scratch_.File(std::to_string(c.kbps) + "_" + std::to_string(q) + ".jpg");
      ASSERT_TRUE(ilSave(IL_JPG, path.c_str()));
      std::vector<uint8_t> bytes = videotest::ReadFile(path);
      if (static_cast<int32_t>(bytes.size()) < grabber_.Geometry().S - 3) {
        best = std::move(bytes);
        bestQuality = q;
      }
    }
    EXPECT_EQ(bestQuality == 98, !c.noise) << bestQuality;
    EXPECT_EQ(jpegs[0], best) << "expected quality " << bestQuality;
  }
}

TEST_F(VideoGrabber, ChunkTooLargeAtQualityOneReportsAndStopsButIsWritten) {
  kdx::g_param.nVideoKBps = 2560;
  Start(128, 96, kFifteen);
  FakeFrame frame(128, 96, Bgr{});
  frame.PaintNoise(7);
  for (int i = 0; i <= 5; ++i) grabber_.SampleCB(i / 15.0, &frame);
  grabber_.EndPass();
  EXPECT_EQ(kdx::g_state.load(), TS_STOP_REQUESTED);
  const int32_t frameCount = grabber_.FrameCount();
  grabber_.SampleCB(0.4, &frame);
  EXPECT_EQ(grabber_.FrameCount(), frameCount);

  const int32_t S = grabber_.Geometry().S;
  Finish();
  const std::vector<uint8_t> bytes = videotest::ReadFile(videoPath_);
  ASSERT_EQ(bytes.size(), static_cast<size_t>(S));
  EXPECT_GT(bytes[0] | bytes[1] << 8 | bytes[2] << 16, S - 3);
  int errors = 0;
  for (const WindowMessage& m : Messages()) {
    if (m.message != WM_TRANSCODE_ERROR) continue;
    ++errors;
    EXPECT_EQ(m.wParam, 1u);
    EXPECT_EQ(m.lParam, 0);
  }
  EXPECT_EQ(errors, 1);
}

TEST_F(VideoGrabber, ProgressRisesWithinTheRangeUpTo99WithThumbnailsOfTheFrameSize) {
  kdx::g_param.nThumbStep = 10;
  Start(64, 40, kFifteen, 1.0, 3.0);
  FakeFrame frame(64, 40, PaletteColour(3));
  grabber_.SampleCB(0.5, &frame);
  EXPECT_DOUBLE_EQ(grabber_.LastTime(), 0.5);
  EXPECT_EQ(grabber_.FrameCount(), 0);
  EXPECT_TRUE(Messages().empty());

  for (int i = 8; i <= 75; ++i) grabber_.SampleCB(i / 15.0, &frame);
  int last = 0, thumbnails = 0;
  for (const WindowMessage& m : Messages()) {
    ASSERT_EQ(m.message, static_cast<UINT>(WM_TRANSCODE_PROGRESS));
    const int percent = static_cast<int>(m.wParam);
    EXPECT_GT(percent, last);
    EXPECT_LE(percent, 99);
    last = percent;
    auto* bitmap = reinterpret_cast<HBITMAP>(m.lParam);
    EXPECT_EQ(bitmap != nullptr, percent % 10 == 0) << percent;
    if (bitmap == nullptr) continue;
    ++thumbnails;
    int32_t w = 0, h = 0;
    GetBitmapSize(bitmap, &w, &h);
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 40);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(last, 99);
  EXPECT_GE(thumbnails, 3);
}

TEST_F(VideoGrabber, EmptyRangeAndZeroThumbnailStepPostNothing) {
  kdx::g_param.nThumbStep = 0;
  Start(64, 40, kFifteen, 1.0, 1.0);
  FakeFrame frame(64, 40, PaletteColour(2));
  for (int i = 0; i <= 30; ++i) grabber_.SampleCB(i / 15.0, &frame);
  EXPECT_EQ(grabber_.FrameCount(), 1);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(Finish().empty());
}

}  // namespace

namespace {

// Whatever frames arrive in between, a frame said to be dropped in advance
// is dropped: irregular times, gaps, ranges and rates, random sets of the
// frames still on their way.
TEST_F(VideoGrabber, FramesSaidToBeDroppedInAdvanceAreDropped) {
  std::mt19937 random(20261207);
  FakeFrame frame(16, 12, Bgr{1, 2, 3});
  int skippable = 0;
  for (int round = 0; round < 200; ++round) {
    const double source = std::uniform_real_distribution<double>(1.0 / 60, 1.0 / 8)(random);
    const double T = kdx::DecideFrameInterval({static_cast<int64_t>(1e7), static_cast<int64_t>(source * 1e7)}, 5 + round % 26);
    std::vector<double> times;
    double t = std::uniform_real_distribution<double>(0.0, 0.3)(random);
    for (int i = 0; i < 120; ++i) {
      times.push_back(t);
      const int kind = std::uniform_int_distribution<int>(0, 9)(random);
      t += kind == 0 ? source * 3.5 : kind == 1 ? source * 0.5 : source;
    }
    const double start = round % 3 == 0 ? times[10] - 0.001 : 0.0;
    const double stop = round % 4 == 0 ? times[100] : 1000.0;
    grabber_.SetupOutputSize(64, 48);
    grabber_.SetRange(start, stop);
    grabber_.SetFrameInterval(T);
    grabber_.Reset();  // no file: the due times alone decide

    std::vector<bool> saidDropped(times.size(), false);
    for (size_t i = 0; i < times.size(); ++i) {
      // Before frame i: frames i.. are on their way; ask about one ahead
      // with a random part of those before it.
      const size_t ahead = i + std::uniform_int_distribution<size_t>(0, 4)(random);
      if (ahead < times.size()) {
        std::vector<double> earlier;
        for (size_t k = i; k < ahead; ++k) {
          if (random() % 3 != 0) earlier.push_back(times[k]);
        }
        if (grabber_.WillDrop(times[ahead], earlier)) saidDropped[ahead] = true;
      }
      const int32_t before = grabber_.FrameCount();
      grabber_.SampleCB(times[i], &frame);
      if (saidDropped[i]) {
        ++skippable;
        EXPECT_EQ(grabber_.FrameCount(), before) << "round " << round << ", frame " << i;
      }
    }
  }
  EXPECT_GT(skippable, 1000) << "the advance answer should often be sure";
}

}  // namespace
