// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/transcoder_request.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>

#include "converter/core/request/conversion_options.h"
#include "converter/core/request/failure_texts.h"
#include "kdx.h"
#include "tests/support/test_paths.h"

namespace {

DEVICE_CONFIG_ENTRY Model(const std::string& screen, const std::string& rate, const std::string& rotate = "0") {
  DEVICE_CONFIG_ENTRY model;
  model.ModelName = "NK";
  model.VideoFormat = "KDX";
  model.ScreenSize = screen;
  model.FrameRate = rate;
  model.Rotate = rotate;
  return model;
}

INPUT_VIDEO_ITEM Item(const std::string& quality, const std::string& mode) {
  INPUT_VIDEO_ITEM item;
  item.strQuality = quality;
  item.strVideoMode = mode;
  return item;
}

void HookForTest(unsigned) {}

TEST(BuildTranscoderParam, ScreenSizeRules) {
  struct Case {
    const char* text;
    int32_t width, height;
  } cases[] = {{"176*220", 176, 220}, {"320*240", 128, 128}, {"96*64", 96, 64},    {"64*220", 64, 220},
               {"63*221", 128, 128},  {"1280*720", 128, 128}, {"128x128", 128, 128}, {"1*96", 128, 128},
               {"*96*64", 128, 128},  {"", 128, 128},         {"abc*96", 128, 96}};
  for (const Case& c : cases) {
    SIZE size = ModelScreenSize(Model(c.text, "15"));
    EXPECT_EQ(size.cx, c.width) << c.text;
    EXPECT_EQ(size.cy, c.height) << c.text;
  }
}

TEST(BuildTranscoderParam, FrameRateIsHeldTo10Through30) {
  EXPECT_EQ(ModelFrameRate(Model("96*64", "5")), 10);
  EXPECT_EQ(ModelFrameRate(Model("96*64", "60")), 30);
  EXPECT_EQ(ModelFrameRate(Model("96*64", "15fps")), 15);
  EXPECT_EQ(ModelFrameRate(Model("96*64", "fast")), 10);
  EXPECT_EQ(ModelFrameRate(Model("96*64", "99999999999999999999")), 30);
}

TEST(BuildTranscoderParam, QualityAndModeChooseSoundDataRateAndFilter) {
  struct Case {
    const char* quality;
    const char* mode;
    int32_t rate, kbps;
    unsigned filter;
    uint8_t fitWhole;
  } cases[] = {{kQualityHigh, kModeFullScreen, 22050, 45, kScaleLinear, 0},
               {kQualityHigh, kModeFullImage, 22050, 35, kScaleLinear, 1},
               {kQualityMedium, kModeFullScreen, 11025, 25, kScaleLinear, 0},
               {kQualityLow, kModeFullImage, 8000, 16, kScaleLinear, 1},
               {"High (200MB/Hour)", kModeFullScreen, 22050, 35, kScaleBSpline, 0},
               {"", "full screen", 22050, 35, kScaleBSpline, 1}};
  for (const Case& c : cases) {
    TranscoderRequest request = BuildTranscoderParam(Model("176*220", "20"), Item(c.quality, c.mode), nullptr, nullptr);
    EXPECT_EQ(request.param.nSampleRate, c.rate) << c.quality;
    EXPECT_EQ(request.param.nChannels, 2) << c.quality;
    EXPECT_EQ(request.param.nVideoKBps, c.kbps) << c.quality << " / " << c.mode;
    EXPECT_EQ(request.scalingFilter, c.filter) << c.quality;
    EXPECT_EQ(request.param.bFitWhole, c.fitWhole) << c.mode;
  }
}

TEST(BuildTranscoderParam, FillsTheRestOfTheRequest) {
  INPUT_VIDEO_ITEM item = Item(kQualityHigh, kModeFullScreen);
  item.tmStart = {0, 1, 5};
  item.tmEnd = {10, 0, 1};  // beyond 32 bits in 100-ns units
  auto window = reinterpret_cast<HWND>(0x1234);
  TranscoderRequest request = BuildTranscoderParam(Model("160*128", "20"), item, window, &HookForTest);
  const TRANSCODER_PARAM& p = request.param;
  EXPECT_EQ(p.hWnd, window);
  EXPECT_EQ(p.nMaxWidth, 160);
  EXPECT_EQ(p.nMaxHeight, 128);
  EXPECT_EQ(p.nFrameRate, 20);
  EXPECT_EQ(p.rtStart, 65LL * 10'000'000);
  EXPECT_EQ(p.rtStop, 36001LL * 10'000'000);
  EXPECT_EQ(p.nThumbStep, 1);
  EXPECT_EQ(p.nRotate, 0);
  EXPECT_EQ(p.nFlip, 0);
  EXPECT_EQ(p.bSecondChunks, 0);
  EXPECT_EQ(p.pfnFrameHook, &HookForTest);
}

TEST(InputVideoItem, NewItemTakesTheDefaults) {
  kdxtest::ScratchDir dir;
  std::string input = dir.File("holiday.part1.Mp4");
  std::ofstream(input) << std::string(1 << 20, 'x');
  INPUT_VIDEO_ITEM item = NewInputVideoItem(input, 37'254'000'000, Model("176*220", "20", "1"));
  EXPECT_EQ(item.strOutputName, "holiday.part1.kdx");
  EXPECT_EQ(item.strType, "MP4");
  EXPECT_EQ(item.strSize, "1.00M");
  EXPECT_EQ(item.strQuality, kQualityHigh);
  EXPECT_EQ(item.strVideoMode, kModeFullScreen);
  EXPECT_EQ(item.tmDuration.nHour, 1);
  EXPECT_EQ(item.tmDuration.nMinute, 2);
  EXPECT_EQ(item.tmDuration.nSecond, 5);
  EXPECT_EQ(VideoTimeToSeconds(item.tmEnd), 3725);
  EXPECT_EQ(VideoTimeToSeconds(item.tmStart), 0);
  EXPECT_EQ(item.rtDuration, 37'254'000'000);
  EXPECT_EQ(VideoTimeToSeconds(NewInputVideoItem(input, 0, Model("", "")).tmEnd), 0);
  EXPECT_EQ(NewInputVideoItem(input, -5, Model("", "")).rtDuration, 0);
  std::ofstream(input, std::ios::trunc) << std::string(10'000'000, 'x');
  EXPECT_EQ(NewInputVideoItem(input, 1, Model("", "")).strSize, "9.53M");
}

TEST(BuildTranscoderParam, AnEndLeftAtTheDurationConvertsTheWholeFile) {
  kdxtest::ScratchDir dir;
  const std::string input = dir.File("clip.mp4");
  std::ofstream(input) << "x";
  const DEVICE_CONFIG_ENTRY model = Model("128*128", "15");
  auto stop = [&](const INPUT_VIDEO_ITEM& item) { return BuildTranscoderParam(model, item, nullptr, nullptr).param.rtStop; };

  INPUT_VIDEO_ITEM longer = NewInputVideoItem(input, 104'000'000, model);  // 10.4 s, shown as 00:00:10
  EXPECT_EQ(stop(longer), 104'000'000);
  longer.tmEnd = {0, 0, 9};
  EXPECT_EQ(stop(longer), 90'000'000);
  longer.tmEnd = {0, 0, 10};  // set back to the duration
  EXPECT_EQ(stop(longer), 104'000'000);
  longer.tmStart = {0, 0, 2};
  EXPECT_EQ(BuildTranscoderParam(model, longer, nullptr, nullptr).param.rtStart, 20'000'000);

  INPUT_VIDEO_ITEM shorter = NewInputVideoItem(input, 6'000'000, model);  // 0.6 s, shown as 00:00:00
  EXPECT_EQ(VideoTimeToSeconds(shorter.tmEnd), 0);
  EXPECT_EQ(stop(shorter), 6'000'000);

  EXPECT_EQ(stop(NewInputVideoItem(input, 0, model)), 0);  // length unknown
  INPUT_VIDEO_ITEM unmeasured = NewInputVideoItem(input, 0, model);
  unmeasured.tmEnd = {0, 0, 5};
  EXPECT_EQ(stop(unmeasured), 50'000'000);
}

TEST(FailureTexts, NewTranscoderResults) {
  EXPECT_EQ(NewTranscoderFailureText(VFW_E_NO_AUDIO_PATH),
            "No audio codec is available for this file. Please install a correct codec");
  EXPECT_EQ(NewTranscoderFailureText(VFW_E_NO_VIDEO_PATH),
            "No video codec is available for this file. Please install a correct codec");
  EXPECT_EQ(NewTranscoderFailureText(VFW_E_CANNOT_RENDER),
            "No codec is available for this video format. Please install the codec.");
  EXPECT_EQ(NewTranscoderFailureText(E_FAIL), "Unknown error = 0x80004005 (no length could be read from the file)");
}

TEST(FailureTexts, TranscodeErrorCodes) {
  EXPECT_EQ(TranscodeErrorText(0, E_FAIL), "Failed result = 0x80004005");
  EXPECT_EQ(TranscodeErrorText(1, 0), "Please select larger graphic data size or smaller frame rate.");
  EXPECT_EQ(TranscodeErrorText(2, 0), "No video codec is available for this file. Please install a correct codec");
  EXPECT_EQ(TranscodeErrorText(3, 0), "No audio codec is available for this file. Please install a correct codec");
  EXPECT_EQ(TranscodeErrorText(4, 0),
            "No codec is available for this video format. Please install the codec and the latest Microsoft "
            "DirectX(TM)");
  EXPECT_EQ(TranscodeErrorText(9, 0x1f), "Unknown error = 0x9, 0x1f");
  // The system's reason rides in the high half; a reader of the low half
  // still finds the result.
  const LPARAM full = KdxErrorParam(E_FAIL, ENOSPC);
  EXPECT_EQ(static_cast<HRESULT>(full), E_FAIL);
  EXPECT_EQ(TranscodeErrorText(0, full), "Failed result = 0x80004005 (No space left on device)");
  EXPECT_EQ(TranscodeErrorText(0, KdxErrorParam(E_FAIL, 0)), "Failed result = 0x80004005");
}

}  // namespace
