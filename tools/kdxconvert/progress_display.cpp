// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/progress_display.h"

#include "converter/core/support/path_utils.h"
#include "converter/core/support/printable_text.h"

namespace {

constexpr int kBarWidth = 24;
constexpr size_t kLongestName = 32;
constexpr int kPercentPerLine = 10;

std::string Duration(long long seconds) {
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds % 3600 / 60, seconds % 60);
  } else {
    std::snprintf(text, sizeof text, "%02lld:%02lld", seconds / 60, seconds % 60);
  }
  return text;
}

std::string ShortName(const std::string& name) {
  if (name.size() <= kLongestName) return name;
  return "..." + name.substr(name.size() - (kLongestName - 3));
}

}  // namespace

ProgressDisplay::ProgressDisplay(ProgressStyle style, std::FILE* out) : m_style(style), m_out(out) {}

void ProgressDisplay::Begin(const std::string& fileName) {
  m_fileName = PrintableText(fileName);
  m_started = std::chrono::steady_clock::now();
  m_lastStep = 0;
  if (m_style == ProgressStyle::kBar) PrintBar(0);
  if (m_style == ProgressStyle::kLines) {
    std::fprintf(m_out, "%s: 0%%\n", m_fileName.c_str());
    std::fflush(m_out);
  }
}

void ProgressDisplay::Update(int percent) {
  if (m_style == ProgressStyle::kBar) PrintBar(percent);
  const int step = percent / kPercentPerLine;
  // The last tenth is the file's result line.
  if (m_style != ProgressStyle::kLines || step <= m_lastStep || percent >= 100) return;
  m_lastStep = step;
  const long long elapsed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_started).count();
  std::fprintf(m_out, "%s: %d%%, %s taken, %s left\n", m_fileName.c_str(), step * kPercentPerLine,
               Duration(elapsed).c_str(), Duration(elapsed * (100 - percent) / percent).c_str());
  std::fflush(m_out);
}

void ProgressDisplay::PrintBar(int percent) {
  const long long elapsed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_started).count();
  const std::string left = percent > 0 ? Duration(elapsed * (100 - percent) / percent) : "--:--";
  const int filled = percent * kBarWidth / 100;
  const std::string bar =
      std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(kBarWidth - filled), '-');
  std::fprintf(m_out, "\r\x1b[K%s [%s] %3d%%  %s taken, %s left", ShortName(GetFileName(m_fileName)).c_str(),
               bar.c_str(), percent, Duration(elapsed).c_str(), left.c_str());
  std::fflush(m_out);
  m_barShown = true;
}

void ProgressDisplay::Clear() {
  if (!m_barShown) return;
  std::fprintf(m_out, "\r\x1b[K");
  std::fflush(m_out);
  m_barShown = false;
}
