// The conversion batch of the main window: converts the ticked rows one
// after the other through the encoder, follows each run through the
// encoder's posted messages, and lets the user cancel.
#pragma once

#include <string>

#include "destination_questions.h"
#include "platform_types.h"
#include "run_wait.h"
#include "thumbnail.h"

class BatchWindow;

class ConversionDriver {
 public:
  explicit ConversionDriver(BatchWindow& window);
  ConversionDriver(const ConversionDriver&) = delete;
  ConversionDriver& operator=(const ConversionDriver&) = delete;

  // The Convert button: converts every ticked row, rows added meanwhile
  // included, and returns when the batch is over.
  void ConvertAll();
  // The Convert button while a batch runs: stops the running file and skips
  // the rest.
  void CancelConversion();
  // Converts one row; -1 when it was not started, 0 when the encoder failed
  // at once, 1 when a run took place.
  int ConvertFile(int row);
  // Prepares the row's destination path, asking about a missing target
  // folder and an existing file.
  bool GetDestFileName(int row);

  // WM_TRANSCODE_PROGRESS: percent in wParam, thumbnail or 0 in lParam.
  void OnTranscodeProgress(WPARAM percent, LPARAM bitmap);
  // WM_TRANSCODE_ERROR: code in wParam, result in lParam; -1 when no run is
  // going on.
  int OnTranscodeError(WPARAM code, LPARAM result);

  bool IsConverting() const { return converting_; }
  // The row being converted, -1 before the first.
  int CurrentRow() const { return currentRow_; }
  // The destination of the last row GetDestFileName prepared.
  const std::string& DestinationPath() const { return destPath_; }
  void SetOverwriteQuestionTimeout(unsigned milliseconds) { overwriteTimeoutMs_ = milliseconds; }

 private:
  enum class Overwrite { kAsk, kConfirmed, kCancelled };

  bool IsKdxCodec() const;
  bool CurrentRowIsValid() const;
  void LockWindowForBatch(bool locked);
  // After the encoder took the request: waits for the file's end and then
  // for the run's final message, so no message of this run reaches the next.
  bool WaitForRun();
  // The row failed during or at the start of its run.
  void ReportRunFailure(int row, const std::string& reason);
  void ReportResult(int row, long long startedAt);
  void ShowThumbnail();

  BatchWindow& window_;
  bool converting_ = false;
  bool inBatch_ = false;  // ConvertAll has not returned yet
  bool abort_ = false;
  int currentRow_ = -1;
  Overwrite overwrite_ = Overwrite::kAsk;
  bool success_ = false;
  int notCopied_ = 0;  // converted files of this batch the player did not get
  // Between Transcode and the run's final progress message.
  bool runActive_ = false;
  // The run reported an error; its remaining messages only end it.
  bool runFailed_ = false;
  std::string inputPath_;
  std::string destPath_;
  OwnedThumbnail thumbnail_;
  RunWait fileDone_;     // the row's result is known
  RunWait runFinished_;  // the encoder posted the run's final message
  unsigned overwriteTimeoutMs_ = kOverwriteQuestionTimeoutMs;
};
