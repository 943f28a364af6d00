// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/log_file.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "converter/core/support/printable_text.h"
#include "platform/base/home_folder.h"

namespace {

// Lines longer than this (counted in characters of the format) are not logged.
constexpr size_t kLongestFormat = 229;

std::mutex g_logMutex;

size_t CharacterCount(const std::string& utf8) {
  size_t count = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++count;
  }
  return count;
}

std::string CurrentTimeStamp() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  auto sinceEpoch = now.time_since_epoch();
  unsigned milliseconds = static_cast<unsigned>(
      std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch).count() % 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  return FormatLogTimeStamp(local, milliseconds);
}

std::string FormatText(const char* format, va_list args) {
  va_list sizing;
  va_copy(sizing, args);
  int length = std::vsnprintf(nullptr, 0, format, sizing);
  va_end(sizing);
  if (length <= 0) return {};
  std::vector<char> buffer(static_cast<size_t>(length) + 1);
  std::vsnprintf(buffer.data(), buffer.size(), format, args);
  return std::string(buffer.data(), static_cast<size_t>(length));
}

void AppendLine(const std::string& line) {
  std::string path = LogFilePath();
  if (path.empty()) return;
  std::lock_guard<std::mutex> lock(g_logMutex);
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  std::FILE* file = std::fopen(path.c_str(), "ae");
  if (file == nullptr) return;
  std::string text = line + "\n";
  std::fwrite(text.data(), 1, text.size(), file);
  std::fclose(file);
}

// `text` is the caller's text as it stands; `patternLength` counts the
// characters of the pattern the caller wrote.
void AppendLogLine(const std::string& text, size_t patternLength) {
  if (patternLength > kLongestFormat) {
    AppendLine("text too long: " + std::to_string(patternLength));
    return;
  }
  // One line each, whatever the names in it hold.
  AppendLine(CurrentTimeStamp() + "  " + PrintableText(text));
}

}  // namespace

std::string LogFilePath() {
  if (const char* file = std::getenv("NKDX_LOG_FILE"); file != nullptr && *file != '\0') return file;
  std::string stateHome;
  if (const char* state = std::getenv("XDG_STATE_HOME"); state != nullptr && *state == '/') {
    stateHome = state;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    stateHome = home + "/.local/state";
  }
  return stateHome + "/norvik-kdx/Pxrc_log.txt";
}

std::string FormatLogTimeStamp(const std::tm& local, unsigned milliseconds) {
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%u/%02u/%02u  %02u:%02u:%02u:%03u", static_cast<unsigned>(local.tm_year + 1900),
                static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday),
                static_cast<unsigned>(local.tm_hour), static_cast<unsigned>(local.tm_min),
                static_cast<unsigned>(local.tm_sec), milliseconds % 1000);
  return stamp;
}

void WriteLog(const char* format, ...) {
  if (format == nullptr) return;
  size_t patternLength = CharacterCount(format);
  std::string text;
  if (patternLength <= kLongestFormat) {
    va_list args;
    va_start(args, format);
    text = FormatText(format, args);
    va_end(args);
  }
  AppendLogLine(text, patternLength);
}

void WriteErrorLog(const std::string& message, const char* unit, long line) {
  std::string text = "Error (" + std::string(unit != nullptr ? unit : "") + " " + std::to_string(line) + "): " + message;
  AppendLogLine(text, CharacterCount(text));
}
