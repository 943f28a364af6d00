// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/ffmpeg_messages.h"

#include <cstdarg>
#include <mutex>
#include <string>

#include "converter/core/support/log_file.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

// A damaged file makes the decoder say the same thing for every picture.
std::mutex g_lastLineMutex;
std::string g_lastLine;

void LogFfmpegMessage(void* context, int level, const char* format, va_list args) {
  if (level > AV_LOG_WARNING) return;
  char line[512];
  int printPrefix = 1;
  av_log_format_line2(context, level, format, args, line, sizeof line, &printPrefix);
  std::string text = line;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (text.empty()) return;
  {
    std::lock_guard lock(g_lastLineMutex);
    if (text == g_lastLine) return;
    g_lastLine = text;
  }
  WriteLog("FFmpeg: %s", text.c_str());
}

}  // namespace

void SendFfmpegMessagesToTraceLog() { av_log_set_callback(LogFfmpegMessage); }
