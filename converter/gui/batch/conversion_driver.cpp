// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/batch/conversion_driver.h"

#include "converter/gui/batch/batch_window.h"
#include "converter/core/job/conversion_job.h"
#include "converter/core/request/destination_path.h"
#include "converter/core/request/failure_texts.h"
#include "converter/core/request/input_video_item.h"
#include "kdx.h"
#include "converter/core/support/log_file.h"
#include "converter/core/support/path_utils.h"
#include "converter/gui/widgets/message_box.h"
#include "converter/gui/batch/posted_run_messages.h"
#include "converter/gui/batch/row_states.h"
#include "converter/gui/queue/conversion_queue_model.h"

namespace {

// What a row shows when the batch passed it by the user's choice.
const char kCancelledText[] = "Cancelled.";
const char kKeptText[] = "Kept the existing file.";
const char kNoFolderText[] = "Skipped: no folder.";
const char kNotCopiedText[] = "Converted; not copied to the player.";

QString FinishedText(int notCopied) {
  if (notCopied == 0) return "Conversion finished.";
  return QString("Conversion finished. %1 %2 not copied to the player.")
      .arg(notCopied)
      .arg(notCopied == 1 ? "file was" : "files were");
}

}  // namespace

ConversionDriver::ConversionDriver(BatchWindow& window, ConversionQueueModel& queue)
    : m_window(window), m_queue(queue) {}

bool ConversionDriver::IsKdxCodec() const { return m_window.VideoCodecText().toUpper() == "KDX"; }

void ConversionDriver::LockWindowForBatch(bool locked) {
  m_window.EnableQuit(!locked);
  m_window.EnableBatchLockedControls(!locked);
}

void ConversionDriver::ConvertAll() {
  // After a cancel the button reads "&Convert" again while the stopped file's
  // wait still runs; a second batch must not start inside the first.
  if (m_inBatch) return;
  m_inBatch = true;
  m_window.StopPreview();
  const bool kdx = IsKdxCodec();
  m_window.SetStatusText("Start converting...");
  m_window.SetConvertCaption("&Cancel");
  LockWindowForBatch(true);
  m_converting = true;
  m_written.Clear();
  m_notCopied = 0;

  // The count is read on every turn: files dropped meanwhile join the batch.
  for (int row = 0; row < m_queue.rowCount(); ++row) {
    m_window.MakeRowCurrent(row);
    if (!m_converting || !m_queue.IsTicked(row)) continue;
    m_queue.SetStatus(row, "");
    m_queue.SetStatusTip(row, "");
    m_currentRow = row;
    m_overwrite = Overwrite::kAsk;
    if (!kdx) continue;
    ConvertFile(row);
    m_queue.SetTicked(row, false);
  }

  m_converting = false;
  // A cancel that found no running file must not stop one of the next batch.
  m_abort = false;
  LockWindowForBatch(false);
  m_window.SetConvertCaption("&Convert");
  m_window.SetStatusText(FinishedText(m_notCopied));
  m_window.ShowPreviewArea();
  m_inBatch = false;
}

void ConversionDriver::CancelConversion() {
  if (!m_converting) return;
  m_window.StopPreview();
  m_window.SetStatusText("Stop converting...");
  m_abort = true;
  m_window.SetConvertCaption("&Convert");
  m_window.EnableQuit(true);
  m_converting = false;
  // Returns when the encoder's worker has ended; its final message, still
  // to be handled, ends the running file's wait.
  if (IsKdxCodec()) StopTranscode();
}

int ConversionDriver::ConvertFile(int row) {
  if (!m_queue.IsEnabled(row)) return -1;
  const std::string input = m_queue.InputPath(row).toStdString();
  if (!FileExists(input)) {
    m_queue.SetEnabled(row, false);
    m_queue.SetStatus(row, kMissingInputText);
    return -1;
  }
  if (!GetDestFileName(row)) {
    KDX_ERROR_LOG("GetDestFileName Error.Conversion abort.");
    if (!m_refusal.empty()) m_queue.SetStatus(row, QString::fromStdString(m_refusal));
    return -1;
  }
  if (m_written.Claimed(m_destPath)) {
    ReportFailure(row, "Skipped: " + m_destPath + " was already written by this batch.");
    return 0;
  }
  // GetDestFileName made sure of both.
  const DEVICE_CONFIG_ENTRY& model = *m_window.SelectedModel();
  // A copy: rows dropped meanwhile must not move the record under the run.
  const INPUT_VIDEO_ITEM item = *m_queue.Record(row);

  m_currentRow = row;
  m_queue.ShowProgress(row, 0);
  PostedRunMessages messages(m_window.WindowHandle(), m_abort,
                             [this](int percent, HBITMAP bitmap) { ShowProgress(percent, bitmap); });
  m_run = &messages;
  const ConversionJob job{input, m_destPath, model, [&item](int64_t) { return item; }, m_window.AddSilence(),
                          AddSilenceSettingHint(), m_madeFolders};
  const JobResult result = RunConversionJob(job, messages);
  m_run = nullptr;
  m_thumbnail.Reset();
  return ShowResult(row, result, messages.Quit());
}

int ConversionDriver::ShowResult(int row, const JobResult& result, bool quit) {
  switch (result.outcome) {
    case JobOutcome::kConverted:
      m_written.Claim(m_destPath);
      ReportResult(row);
      return 1;
    case JobOutcome::kFailed:
      ReportFailure(row, result.reason);
      return 0;
    case JobOutcome::kStopped:
      break;
  }
  m_queue.HideProgress(row);
  m_queue.SetBold(row, false);
  m_queue.SetStatus(row, kCancelledText);
  // The application is quitting: the batch goes with the run.
  if (quit) m_converting = false;
  if (m_abort) {
    m_abort = false;
    m_window.SetStatusText("Conversion abort.");
  }
  return 1;
}

void ConversionDriver::ReportFailure(int row, const std::string& reason) {
  ShowRowFailed(m_queue, row, QString::fromStdString(reason));
  KDX_ERROR_LOG(reason);
  m_queue.SetBold(row, false);
  m_window.SetStatusText(m_queue.InputPath(row) + " Abort.");
}

void ConversionDriver::ReportResult(int row) {
  const QString name = m_queue.InputPath(row);
  m_queue.HideProgress(row);
  m_queue.SetStatus(row, "Complete.");
  m_queue.SetBold(row, false);
  const TransferOutcome transfer = m_window.TransferOutputFile(row, m_destPath);
  if (transfer.attempted && !transfer.copied) {
    // The transfer's failure stays on the status line until the batch ends.
    ++m_notCopied;
    m_queue.SetStatus(row, kNotCopiedText);
    m_queue.SetStatusTip(row, QString::fromStdString(transfer.reason));
  } else {
    m_window.SetStatusText(name + " complete.");
    m_queue.SetStatus(row, "Complete.");
  }
}

bool ConversionDriver::GetDestFileName(int row) {
  m_refusal.clear();
  if (row < 0 || row >= m_queue.rowCount()) return false;
  m_window.MakeRowCurrent(row);
  const DEVICE_CONFIG_ENTRY* model = m_window.SelectedModel();
  const INPUT_VIDEO_ITEM* item = m_queue.Record(row);
  if (model == nullptr || item == nullptr) return false;

  QWidget* owner = m_window.MessageBoxOwner();
  const std::string folder = TargetOrProgramFolder(m_window.DestinationFolder());
  m_window.ShowDestinationFolder(folder);
  std::string failure;
  auto confirm = [owner](const std::string& missing) { return AskToCreateFolder(owner, missing); };
  if (!::GetDestFileName(folder, model->ModelName, item->strOutputName, &m_destPath, &failure, confirm,
                         &m_madeFolders)) {
    ShowWarningBox(owner, QString::fromStdString(failure));
    if (failure == kFolderRefusedText)
      m_refusal = kNoFolderText;
    else
      ShowRowFailed(m_queue, row, QString::fromStdString(failure));
    return false;
  }

  switch (m_overwrite) {
    case Overwrite::kCancelled:
      m_refusal = kKeptText;
      return false;
    case Overwrite::kConfirmed:
      return true;
    case Overwrite::kAsk:
      break;
  }
  if (!FileExists(m_destPath)) return true;
  if (!AskToOverwrite(owner, m_destPath, m_overwriteTimeoutMs)) {
    m_overwrite = Overwrite::kCancelled;
    m_refusal = kKeptText;
    return false;
  }
  m_overwrite = Overwrite::kConfirmed;
  return true;
}
