// SPDX-License-Identifier: GPL-2.0-or-later
// What the batch tells about each file and at its end: lines for people, or
// JSON for programs.
#pragma once

#include <cstdio>
#include <string>

#include "tools/kdxconvert/progress_display.h"

enum class FileOutcome { kConverted, kFailed, kSkipped, kStopped };

struct FileResult {
  std::string source = {};
  std::string destination = {};  // empty when none was chosen
  FileOutcome outcome = FileOutcome::kFailed;
  // Failed: the line that says why, mostly "Failed. " and the reason;
  // skipped: what is in the way, said after the destination ("already
  // exists (--overwrite replaces it).").
  std::string reason = {};
  int runSeconds = 0;     // the encoder's own count, for the converted line
  double seconds = 0;     // the time the file took, skipped and failed ones too
};

struct BatchSummary {
  int converted = 0;
  int failed = 0;
  int skipped = 0;
  bool stopped = false;
  double seconds = 0;
};

class BatchReport {
 public:
  virtual ~BatchReport() = default;
  virtual void File(const FileResult& result) = 0;
  virtual void Summary(const BatchSummary& summary) = 0;
};

// Lines: converted files and the summary on standard output (unless only
// problems are asked for), every other outcome on standard error.
class TextReport : public BatchReport {
 public:
  TextReport(ProgressDisplay& progress, bool onlyProblems) : m_progress(progress), m_onlyProblems(onlyProblems) {}
  void File(const FileResult& result) override;
  void Summary(const BatchSummary& summary) override;

 private:
  void Print(std::FILE* stream, const std::string& line);

  ProgressDisplay& m_progress;
  const bool m_onlyProblems;
};

// One JSON object on a line for each file, then one holding the summary.
class JsonReport : public BatchReport {
 public:
  explicit JsonReport(std::FILE* out) : m_out(out) {}
  void File(const FileResult& result) override;
  void Summary(const BatchSummary& summary) override;

 private:
  std::FILE* const m_out;
};

// The outcome's word in the JSON: "converted", "failed", "skipped", "stopped".
const char* OutcomeName(FileOutcome outcome);
