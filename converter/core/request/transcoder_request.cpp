// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/transcoder_request.h"

#include <algorithm>
#include <cstdlib>

#include "converter/core/request/conversion_options.h"

namespace {

constexpr int32_t kFallbackSide = 128;

int32_t SideOrFallback(const std::string& digits) {
  long side = std::strtol(digits.c_str(), nullptr, 10);
  return side >= 64 && side <= 220 ? static_cast<int32_t>(side) : kFallbackSide;
}

// While the End still equals the Duration, the whole file is asked for: the
// stop is the exact length, so the fraction of a second the shown times
// leave out is converted too (and a file shorter than a second has a
// range at all). A length that could not be measured keeps stop 0.
int64_t RequestStop(const INPUT_VIDEO_ITEM& item) {
  const int64_t end = VideoTimeToSeconds(item.tmEnd);
  if (item.rtDuration > 0 && end == VideoTimeToSeconds(item.tmDuration)) return item.rtDuration;
  return end * kMediaUnitsPerSecond;
}

}  // namespace

int32_t ModelFrameRate(const DEVICE_CONFIG_ENTRY& model) {
  long rate = std::strtol(model.FrameRate.c_str(), nullptr, 10);
  return static_cast<int32_t>(std::clamp(rate, 10L, 30L));
}

SIZE ModelScreenSize(const DEVICE_CONFIG_ENTRY& model) {
  const std::string& text = model.ScreenSize;
  size_t star = text.find('*');
  if (text.size() < 5 || text.size() > 7 || (star != 2 && star != 3)) return {kFallbackSide, kFallbackSide};
  return {SideOrFallback(text.substr(0, star)), SideOrFallback(text.substr(star + 1))};
}

TranscoderRequest BuildTranscoderParam(const DEVICE_CONFIG_ENTRY& model, const INPUT_VIDEO_ITEM& item, HWND hWnd,
                                       FRAME_HOOK frameHook) {
  TRANSCODER_PARAM param{};
  SIZE size = ModelScreenSize(model);
  param.hWnd = hWnd;
  param.hDC = nullptr;
  param.nFrameRate = ModelFrameRate(model);
  param.nMaxWidth = size.cx;
  param.nMaxHeight = size.cy;
  param.bSecondChunks = 0;
  param.nThumbStep = 1;
  param.nRotate = 0;
  param.nFlip = 0;
  param.pfnFrameHook = frameHook;
  param.bFitWhole = item.strVideoMode == kModeFullScreen ? 0 : 1;
  QualitySettings quality = QualityFor(item.strQuality, param.bFitWhole != 0);
  param.nSampleRate = quality.sampleRate;
  param.nChannels = quality.channels;
  param.nVideoKBps = quality.videoKBps;
  param.rtStart = VideoTimeToSeconds(item.tmStart) * kMediaUnitsPerSecond;
  param.rtStop = RequestStop(item);
  return {param, quality.scalingFilter};
}
