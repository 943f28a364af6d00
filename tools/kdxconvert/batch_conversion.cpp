// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/batch_conversion.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "converter/core/job/destination_claims.h"
#include "converter/core/request/destination_path.h"
#include "converter/core/request/failure_texts.h"
#include "tools/kdxconvert/file_conversion.h"
#include "kdx.h"
#include "converter/core/support/log_file.h"
#include "converter/core/support/path_utils.h"
#include "converter/core/support/printable_text.h"
#include "converter/core/request/output_name.h"
#include "tools/kdxconvert/stop_signal.h"

namespace {

enum class Overwrite { kReplace, kKeep, kStop };

// Asks on the terminal whether to replace an existing file; no answer (end
// of input, Ctrl-C) keeps it.
Overwrite AskOverwrite(const std::string& destination) {
  std::fprintf(stderr, "%s already exists. Replace it? [y/N] ", PrintableText(destination).c_str());
  std::fflush(stderr);
  char answer[16] = {};
  bool answered = std::fgets(answer, sizeof answer, stdin) != nullptr;
  if (!answered) {
    std::clearerr(stdin);
    std::fputc('\n', stderr);
  }
  if (StopRequested()) return Overwrite::kStop;
  return answered && (answer[0] == 'y' || answer[0] == 'Y') ? Overwrite::kReplace : Overwrite::kKeep;
}

bool ReadsNamesFromStandardInput(const ConvertOptions& options) {
  return std::find(options.fileLists.begin(), options.fileLists.end(), "-") != options.fileLists.end();
}

ProgressStyle ProgressStyleFor(const ConvertOptions& options) {
  if (options.verbosity == Verbosity::kQuiet) return ProgressStyle::kNone;
  return ::isatty(STDERR_FILENO) != 0 ? ProgressStyle::kBar : ProgressStyle::kLines;
}

class Batch {
 public:
  Batch(const ConvertOptions& options, const DEVICE_CONFIG_ENTRY& model, const std::string& outputFolder)
      : m_options(options),
        m_model(model),
        m_outputFolder(outputFolder),
        m_progress(ProgressStyleFor(options), stderr),
        // With --json the results are on standard output: the lines only
        // say what went wrong.
        m_text(m_progress, options.json || options.verbosity == Verbosity::kQuiet),
        m_json(stdout),
        m_askOnTerminal(::isatty(STDIN_FILENO) != 0 && !ReadsNamesFromStandardInput(options)) {}

  BatchSummary Run() {
    const auto batchStarted = std::chrono::steady_clock::now();
    for (const std::string& input : m_options.files) {
      if (StopRequested()) {
        m_summary.stopped = true;
        break;
      }
      const auto started = std::chrono::steady_clock::now();
      FileResult result = ConvertOne(input);
      result.seconds = SecondsSince(started);
      Report(result);
    }
    CloseTranscoder();
    m_summary.seconds = SecondsSince(batchStarted);
    m_text.Summary(m_summary);
    if (m_options.json) m_json.Summary(m_summary);
    return m_summary;
  }

 private:
  static double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  FileResult ConvertOne(const std::string& input) {
    if (!FileExists(input)) return FileResult{.source = input, .outcome = FileOutcome::kFailed, .reason = kMissingInputText};
    std::string destination, failure;
    // A second input of one name ("clip.avi", "clip.mp4") gets "clip (2).kdx".
    const std::string name = DistinctOutputName(KdxOutputName(input), [this](const std::string& candidate) {
      return std::any_of(m_names.begin(), m_names.end(),
                         [&](const std::string& used) { return SameOutputName(used, candidate); });
    });
    std::vector<std::string> madeFolders;
    if (!GetDestFileName(m_outputFolder, m_model.ModelName, name, &destination, &failure, {}, &madeFolders)) {
      KDX_ERROR_LOG("GetDestFileName Error.Conversion abort.");
      return FileResult{.source = input, .outcome = FileOutcome::kFailed, .reason = failure};
    }
    if (FileResult refused; !MayWrite(input, destination, &refused)) return refused;
    FileResult result =
        ConvertFile(FileJob{input, destination, m_model, m_options, madeFolders}, m_queue, m_progress);
    if (result.outcome == FileOutcome::kConverted) {
      m_written.Claim(destination);
      m_names.push_back(name);
    }
    return result;
  }

  // Whether an existing destination may be replaced; *refused says why not.
  bool MayWrite(const std::string& input, const std::string& destination, FileResult* refused) {
    *refused = FileResult{.source = input, .destination = destination, .outcome = FileOutcome::kSkipped};
    if (m_written.Claimed(destination)) {
      refused->reason = "was already written by this run.";
      return false;
    }
    if (!FileExists(destination) || m_options.existing == ExistingOutput::kReplace) return true;
    if (m_askOnTerminal && m_options.existing == ExistingOutput::kAsk) {
      Overwrite answer = AskOverwrite(destination);
      if (answer == Overwrite::kReplace) return true;
      if (answer == Overwrite::kStop) refused->outcome = FileOutcome::kStopped;
    }
    refused->reason = "already exists (--overwrite replaces it).";
    return false;
  }

  void Report(const FileResult& result) {
    m_text.File(result);
    if (m_options.json) m_json.File(result);
    Count(result.outcome);
  }

  void Count(FileOutcome outcome) {
    switch (outcome) {
      case FileOutcome::kConverted:
        ++m_summary.converted;
        break;
      case FileOutcome::kFailed:
        ++m_summary.failed;
        break;
      case FileOutcome::kSkipped:
        ++m_summary.skipped;
        break;
      case FileOutcome::kStopped:
        m_summary.stopped = true;
        break;
    }
  }

  const ConvertOptions& m_options;
  const DEVICE_CONFIG_ENTRY& m_model;
  const std::string m_outputFolder;
  ProgressDisplay m_progress;
  TextReport m_text;
  JsonReport m_json;
  const bool m_askOnTerminal;
  MessageQueue m_queue;
  DestinationClaims m_written;  // files made by this run, never replaced by a later input
  std::vector<std::string> m_names;  // their names
  BatchSummary m_summary;
};

}  // namespace

BatchSummary ConvertBatch(const ConvertOptions& options, const DEVICE_CONFIG_ENTRY& model,
                          const std::string& outputFolder) {
  return Batch(options, model, outputFolder).Run();
}
