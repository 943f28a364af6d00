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
#include "converter/core/request/output_name.h"
#include "tools/kdxconvert/stop_signal.h"

namespace {

enum class Overwrite { kReplace, kKeep, kStop };

// Asks on the terminal whether to replace an existing file; no answer (end
// of input, Ctrl-C) keeps it.
Overwrite AskOverwrite(const std::string& destination) {
  std::fprintf(stderr, "%s already exists. Replace it? [y/N] ", destination.c_str());
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
      : options_(options),
        model_(model),
        outputFolder_(outputFolder),
        display_(::isatty(STDOUT_FILENO) != 0),
        askOnTerminal_(::isatty(STDIN_FILENO) != 0) {}

  BatchSummary Run() {
    for (const std::string& input : options_.files) {
      if (StopRequested()) {
        summary_.stopped = true;
        break;
      }
      Count(ConvertOne(input));
    }
    CloseTranscoder();
    return summary_;
  }

 private:
  FileOutcome ConvertOne(const std::string& input) {
    if (!FileExists(input)) {
      display_.Report(false, input + ": " + kMissingInputText);
      return FileOutcome::kFailed;
    }
    std::string destination, failure;
    // A second input of one name ("clip.avi", "clip.mp4") gets "clip (2).kdx".
    const std::string name = DistinctOutputName(KdxOutputName(input), [this](const std::string& candidate) {
      return std::any_of(names_.begin(), names_.end(),
                         [&](const std::string& used) { return SameOutputName(used, candidate); });
    });
    if (!GetDestFileName(outputFolder_, model_.ModelName, name, &destination, &failure)) {
      KDX_ERROR_LOG("GetDestFileName Error.Conversion abort.");
      display_.Report(false, input + ": " + failure);
      return FileOutcome::kFailed;
    }
    if (FileOutcome refused; !MayWrite(input, destination, &refused)) return refused;
    FileOutcome outcome = ConvertFile(FileJob{input, destination, model_, options_}, queue_, display_);
    if (outcome == FileOutcome::kConverted) {
      written_.Claim(destination);
      names_.push_back(name);
    }
    return outcome;
  }

  // Whether an existing destination may be replaced; *refused says why not.
  bool MayWrite(const std::string& input, const std::string& destination, FileOutcome* refused) {
    *refused = FileOutcome::kSkipped;
    if (written_.Claimed(destination)) {
      display_.Report(false, input + ": skipped, " + destination + " was already written by this run.");
      return false;
    }
    if (!FileExists(destination) || options_.overwrite) return true;
    if (askOnTerminal_) {
      Overwrite answer = AskOverwrite(destination);
      if (answer == Overwrite::kReplace) return true;
      if (answer == Overwrite::kStop) *refused = FileOutcome::kStopped;
    }
    display_.Report(false, input + ": skipped, " + destination + " already exists (--overwrite replaces it).");
    return false;
  }

  void Count(FileOutcome outcome) {
    switch (outcome) {
      case FileOutcome::kConverted:
        ++summary_.converted;
        break;
      case FileOutcome::kFailed:
        ++summary_.failed;
        break;
      case FileOutcome::kSkipped:
        ++summary_.skipped;
        break;
      case FileOutcome::kStopped:
        summary_.stopped = true;
        break;
    }
  }

  const ConvertOptions& options_;
  const DEVICE_CONFIG_ENTRY& model_;
  const std::string outputFolder_;
  ProgressDisplay display_;
  const bool askOnTerminal_;
  MessageQueue queue_;
  DestinationClaims written_;  // files made by this run, never replaced by a later input
  std::vector<std::string> names_;  // their names
  BatchSummary summary_;
};

}  // namespace

BatchSummary ConvertBatch(const ConvertOptions& options, const DEVICE_CONFIG_ENTRY& model,
                          const std::string& outputFolder) {
  return Batch(options, model, outputFolder).Run();
}
