// SPDX-License-Identifier: GPL-2.0-or-later
// The conversion batch of the main window: converts the ticked rows of the
// queue one after the other through the shared conversion job, hands the
// encoder's posted messages to the running job, and lets the user cancel.
#pragma once

#include <string>
#include <vector>

#include "converter/core/job/destination_claims.h"
#include "converter/gui/batch/destination_questions.h"
#include "platform/base/platform_types.h"
#include "converter/gui/batch/thumbnail.h"

class BatchWindow;
class ConversionQueueModel;
class PostedRunMessages;
struct JobResult;

class ConversionDriver {
 public:
  // Both are kept for the driver's life.
  ConversionDriver(BatchWindow& window, ConversionQueueModel& queue);
  ConversionDriver(const ConversionDriver&) = delete;
  ConversionDriver& operator=(const ConversionDriver&) = delete;

  // The Convert button: converts every ticked row, rows added meanwhile
  // included, and returns when the batch is over.
  void ConvertAll();
  // The Convert button while a batch runs: stops the running file and skips
  // the rest.
  void CancelConversion();
  // Converts one row; -1 when it was not started, 0 when it failed, 1 when
  // it was converted or stopped.
  int ConvertFile(int row);
  // Prepares the row's destination path, asking about a missing target
  // folder and an existing file.
  bool GetDestFileName(int row);

  // WM_TRANSCODE_PROGRESS: percent in wParam, thumbnail or 0 in lParam.
  void OnTranscodeProgress(WPARAM percent, LPARAM bitmap);
  // WM_TRANSCODE_ERROR: code in wParam, result in lParam; -1 when no run is
  // going on.
  int OnTranscodeError(WPARAM code, LPARAM result);

  bool IsConverting() const { return m_converting; }
  // The row being converted, -1 before the first.
  int CurrentRow() const { return m_currentRow; }
  // How long the overwrite question waits before it answers by itself.
  void SetOverwriteQuestionTimeout(unsigned milliseconds) { m_overwriteTimeoutMs = milliseconds; }

 private:
  enum class Overwrite { kAsk, kConfirmed, kCancelled };

  bool IsKdxCodec() const;
  bool CurrentRowIsValid() const;
  void LockWindowForBatch(bool locked);
  // A progress message of the running file below 100.
  void ShowProgress(int percent, HBITMAP bitmap);
  int ShowResult(int row, const JobResult& result, bool quit);
  void ReportFailure(int row, const std::string& reason);
  void ReportResult(int row);

  BatchWindow& m_window;
  ConversionQueueModel& m_queue;
  bool m_converting = false;
  bool m_inBatch = false;  // ConvertAll has not returned yet
  bool m_abort = false;
  int m_currentRow = -1;
  Overwrite m_overwrite = Overwrite::kAsk;
  int m_notCopied = 0;  // converted files of this batch the player did not get
  std::string m_destPath;
  // The folders GetDestFileName made for the current row without asking.
  std::vector<std::string> m_madeFolders;
  // Why GetDestFileName passed the row by, as its status shows it; empty
  // when it was not asked.
  std::string m_refusal;
  OwnedThumbnail m_thumbnail;
  // The running file's messages; null between runs.
  PostedRunMessages* m_run = nullptr;
  DestinationClaims m_written;  // files this batch made
  unsigned m_overwriteTimeoutMs = kOverwriteQuestionTimeoutMs;
};
