// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/transcoder/run_harness.h"

#include "platform/base/bitmap.h"

namespace kdxtest {

TRANSCODER_PARAM MakeRequest(HWND window, int maxWidth, int maxHeight, bool fitWhole, int frameRate, int videoKBps) {
  TRANSCODER_PARAM request{};
  request.hWnd = window;
  request.rtStart = 0;
  request.rtStop = 30LL * 10000000;  // past the end of every test clip
  request.nMaxWidth = maxWidth;
  request.nMaxHeight = maxHeight;
  request.bFitWhole = fitWhole ? 1 : 0;
  request.nSampleRate = 22050;
  request.nChannels = 2;
  request.nFrameRate = frameRate;
  request.nVideoKBps = videoKBps;
  request.nThumbStep = 1;
  return request;
}

RunMessages CollectRun(MessageQueue& queue, std::chrono::seconds timeout) {
  RunMessages run;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  bool finished = false;
  auto finishedAt = std::chrono::steady_clock::now();
  for (;;) {
    const auto now = std::chrono::steady_clock::now();
    if (finished && now - finishedAt > std::chrono::milliseconds(300)) break;
    if (!finished && now > deadline) {
      run.timedOut = true;
      break;
    }
    WindowMessage m;
    if (!queue.Get(m, std::chrono::milliseconds(50))) continue;
    if (m.message == WM_TRANSCODE_PROGRESS) {
      if (m.wParam == 100) {
        ++run.finalCount;
        finished = true;
        finishedAt = std::chrono::steady_clock::now();
      } else if (static_cast<int>(m.wParam) > run.highestPercent) {
        run.highestPercent = static_cast<int>(m.wParam);
      }
      if (m.lParam != 0) {
        auto bitmap = reinterpret_cast<HBITMAP>(m.lParam);
        ++run.thumbnails;
        GetBitmapSize(bitmap, &run.thumbnailWidth, &run.thumbnailHeight);
        DeleteObject(bitmap);
      }
    } else if (m.message == WM_TRANSCODE_ERROR) {
      if (run.errorCount++ == 0) {
        run.errorCode = m.wParam;
        run.errorResult = KdxErrorResult(m.lParam);
        run.errorReason = KdxErrorReason(m.lParam);
      }
      if (finished) run.errorBeforeFinal = false;
    }
  }
  return run;
}

HRESULT ConvertFile(const std::string& source, const std::string& destination, const TRANSCODER_PARAM& request,
                    MessageQueue& queue, RunMessages* messages, uint32_t flags) {
  int64_t duration = 0;
  const HRESULT opened =
      NewTranscoderEx(queue.window(), source.c_str(), destination.c_str(), &duration, flags, nullptr);
  if (opened != S_OK) return opened;
  TRANSCODER_PARAM copy = request;
  copy.hWnd = queue.window();
  if (Transcode(&copy) != 1) return E_FAIL;
  *messages = CollectRun(queue);
  return opened;
}

}  // namespace kdxtest
