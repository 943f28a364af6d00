// SPDX-License-Identifier: GPL-2.0-or-later
// The progress of each file on standard error: on a terminal a live bar
// (file, percent, time taken, time left), otherwise a line at every tenth of
// the file, so a log shows a long batch moving; nothing when quiet.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

enum class ProgressStyle { kBar, kLines, kNone };

class ProgressDisplay {
 public:
  ProgressDisplay(ProgressStyle style, std::FILE* out);

  void Begin(const std::string& fileName);
  void Update(int percent);
  // Takes the bar away before another line is printed.
  void Clear();

 private:
  void PrintBar(int percent);

  const ProgressStyle m_style;
  std::FILE* const m_out;
  bool m_barShown = false;
  int m_lastStep = 0;  // the last tenth reported as a line
  std::string m_fileName;
  std::chrono::steady_clock::time_point m_started;
};
