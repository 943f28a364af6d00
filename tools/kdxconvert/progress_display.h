// What the user sees of each file: on a terminal a live bar (file, percent,
// time taken, time left), otherwise one line per file when it is done.
#pragma once

#include <chrono>
#include <string>

class ProgressDisplay {
 public:
  explicit ProgressDisplay(bool terminal);

  void Begin(const std::string& fileName);
  void Update(int percent);
  // A file's result: successes go to standard output, the rest to standard error.
  void Report(bool success, const std::string& line);

 private:
  void ClearBar();

  bool m_terminal;
  bool m_barShown = false;
  std::string m_fileName;
  std::chrono::steady_clock::time_point m_started;
};
