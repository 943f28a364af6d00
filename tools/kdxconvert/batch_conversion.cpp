#include "tools/kdxconvert/batch_conversion.h"

#include <unistd.h>

#include <algorithm>
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

class Batch {
 public:
  Batch(const ConvertOptions& options, const DEVICE_CONFIG_ENTRY& model, const std::string& outputFolder)
      : m_options(options),
        m_model(model),
        m_outputFolder(outputFolder),
        m_display(::isatty(STDOUT_FILENO) != 0),
        m_askOnTerminal(::isatty(STDIN_FILENO) != 0) {}

  BatchSummary Run() {
    for (const std::string& input : m_options.files) {
      if (StopRequested()) {
        m_summary.stopped = true;
        break;
      }
      Count(ConvertOne(input));
    }
    CloseTranscoder();
    return m_summary;
  }

 private:
  FileOutcome ConvertOne(const std::string& input) {
    if (!FileExists(input)) {
      m_display.Report(false, input + ": " + kMissingInputText);
      return FileOutcome::kFailed;
    }
    std::string destination, failure;
    // A second input of one name ("clip.avi", "clip.mp4") gets "clip (2).kdx".
    const std::string name = DistinctOutputName(KdxOutputName(input), [this](const std::string& candidate) {
      return std::any_of(m_names.begin(), m_names.end(),
                         [&](const std::string& used) { return SameOutputName(used, candidate); });
    });
    std::vector<std::string> madeFolders;
    if (!GetDestFileName(m_outputFolder, m_model.ModelName, name, &destination, &failure, {}, &madeFolders)) {
      KDX_ERROR_LOG("GetDestFileName Error.Conversion abort.");
      m_display.Report(false, input + ": " + failure);
      return FileOutcome::kFailed;
    }
    if (FileOutcome refused; !MayWrite(input, destination, &refused)) return refused;
    FileOutcome outcome =
        ConvertFile(FileJob{input, destination, m_model, m_options, madeFolders}, m_queue, m_display);
    if (outcome == FileOutcome::kConverted) {
      m_written.Claim(destination);
      m_names.push_back(name);
    }
    return outcome;
  }

  // Whether an existing destination may be replaced; *refused says why not.
  bool MayWrite(const std::string& input, const std::string& destination, FileOutcome* refused) {
    *refused = FileOutcome::kSkipped;
    if (m_written.Claimed(destination)) {
      m_display.Report(false, input + ": skipped, " + destination + " was already written by this run.");
      return false;
    }
    if (!FileExists(destination) || m_options.overwrite) return true;
    if (m_askOnTerminal) {
      Overwrite answer = AskOverwrite(destination);
      if (answer == Overwrite::kReplace) return true;
      if (answer == Overwrite::kStop) *refused = FileOutcome::kStopped;
    }
    m_display.Report(false, input + ": skipped, " + destination + " already exists (--overwrite replaces it).");
    return false;
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
  ProgressDisplay m_display;
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
