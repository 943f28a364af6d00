// SPDX-License-Identifier: GPL-2.0-or-later
// Drives the library through its exports as a caller would: a message
// queue for a window, a request, and the messages of one run.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "kdx.h"
#include "platform/base/message_window.h"

namespace kdxtest {

struct RunMessages {
  int finalCount = 0;          // WM_TRANSCODE_PROGRESS with 100
  int errorCount = 0;          // WM_TRANSCODE_ERROR
  WPARAM errorCode = 0;        // of the first error
  HRESULT errorResult = 0;     // of the first error
  int errorReason = 0;         // the errno carried with it
  bool errorBeforeFinal = true;
  int highestPercent = 0;      // below 100
  int thumbnails = 0;
  int thumbnailWidth = 0;
  int thumbnailHeight = 0;
  bool timedOut = false;
};

// A request for a model size with the converter's usual settings.
TRANSCODER_PARAM MakeRequest(HWND window, int maxWidth, int maxHeight, bool fitWhole, int frameRate = 15,
                             int videoKBps = 35);

// Collects the messages of a run until its final progress message, then
// for a short while longer so a second final message would be seen.
// Frees every thumbnail.
RunMessages CollectRun(MessageQueue& queue, std::chrono::seconds timeout = std::chrono::seconds(120));

// NewTranscoderEx with the flags + Transcode + CollectRun; the transcoder
// stays open. Returns the opening's result; *messages only when it
// succeeded.
HRESULT ConvertFile(const std::string& source, const std::string& destination, const TRANSCODER_PARAM& request,
                    MessageQueue& queue, RunMessages* messages, uint32_t flags = 0);

}  // namespace kdxtest
