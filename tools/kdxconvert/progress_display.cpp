#include "tools/kdxconvert/progress_display.h"

#include <cstdio>

#include "converter/core/support/path_utils.h"
#include "converter/core/support/printable_text.h"

namespace {

constexpr int kBarWidth = 24;
constexpr size_t kLongestName = 32;

std::string Duration(long long seconds) {
  char text[32];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds % 3600 / 60, seconds % 60);
  } else {
    std::snprintf(text, sizeof text, "%02lld:%02lld", seconds / 60, seconds % 60);
  }
  return text;
}

// The end of the name, cut where a character begins.
std::string ShortName(const std::string& name) {
  if (name.size() <= kLongestName) return name;
  size_t from = name.size() - (kLongestName - 3);
  while (from < name.size() && (static_cast<unsigned char>(name[from]) & 0xC0) == 0x80) ++from;
  return "..." + name.substr(from);
}

}  // namespace

ProgressDisplay::ProgressDisplay(bool terminal) : m_terminal(terminal) {}

void ProgressDisplay::Begin(const std::string& fileName) {
  m_fileName = fileName;
  m_started = std::chrono::steady_clock::now();
  Update(0);
}

void ProgressDisplay::Update(int percent) {
  if (!m_terminal) return;
  long long elapsed =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_started).count();
  std::string left = percent > 0 ? Duration(elapsed * (100 - percent) / percent) : "--:--";
  int filled = percent * kBarWidth / 100;
  std::string bar = std::string(static_cast<size_t>(filled), '#') + std::string(static_cast<size_t>(kBarWidth - filled), '-');
  std::printf("\r\x1b[K%s [%s] %3d%%  %s taken, %s left", ShortName(PrintableText(GetFileName(m_fileName))).c_str(), bar.c_str(), percent,
              Duration(elapsed).c_str(), left.c_str());
  std::fflush(stdout);
  m_barShown = true;
}

void ProgressDisplay::ClearBar() {
  if (!m_barShown) return;
  std::printf("\r\x1b[K");
  std::fflush(stdout);
  m_barShown = false;
}

void ProgressDisplay::Report(bool success, const std::string& line) {
  ClearBar();
  std::FILE* stream = success ? stdout : stderr;
  std::fprintf(stream, "%s\n", PrintableText(line).c_str());
  std::fflush(stream);
}
