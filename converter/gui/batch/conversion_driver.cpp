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
    : window_(window), queue_(queue) {}

bool ConversionDriver::IsKdxCodec() const { return window_.VideoCodecText().toUpper() == "KDX"; }

void ConversionDriver::LockWindowForBatch(bool locked) {
  window_.EnableQuit(!locked);
  window_.EnableBatchLockedControls(!locked);
}

void ConversionDriver::ConvertAll() {
  // After a cancel the button reads "&Convert" again while the stopped file's
  // wait still runs; a second batch must not start inside the first.
  if (inBatch_) return;
  inBatch_ = true;
  window_.StopPreview();
  const bool kdx = IsKdxCodec();
  window_.SetStatusText("Start converting...");
  window_.SetConvertCaption("&Cancel");
  LockWindowForBatch(true);
  converting_ = true;
  written_.Clear();
  notCopied_ = 0;

  // The count is read on every turn: files dropped meanwhile join the batch.
  for (int row = 0; row < queue_.rowCount(); ++row) {
    window_.MakeRowCurrent(row);
    if (!converting_ || !queue_.IsTicked(row)) continue;
    queue_.SetStatus(row, "");
    queue_.SetStatusTip(row, "");
    currentRow_ = row;
    overwrite_ = Overwrite::kAsk;
    if (!kdx) continue;
    ConvertFile(row);
    queue_.SetTicked(row, false);
  }

  converting_ = false;
  // A cancel that found no running file must not stop one of the next batch.
  abort_ = false;
  LockWindowForBatch(false);
  window_.SetConvertCaption("&Convert");
  window_.SetStatusText(FinishedText(notCopied_));
  window_.ShowPreviewArea();
  inBatch_ = false;
}

void ConversionDriver::CancelConversion() {
  if (!converting_) return;
  window_.StopPreview();
  window_.SetStatusText("Stop converting...");
  abort_ = true;
  window_.SetConvertCaption("&Convert");
  window_.EnableQuit(true);
  converting_ = false;
  // Returns when the encoder's worker has ended; its final message, still
  // to be handled, ends the running file's wait.
  if (IsKdxCodec()) StopTranscode();
}

int ConversionDriver::ConvertFile(int row) {
  if (!queue_.IsEnabled(row)) return -1;
  const std::string input = queue_.InputPath(row).toStdString();
  if (!FileExists(input)) {
    queue_.SetEnabled(row, false);
    queue_.SetStatus(row, kMissingInputText);
    return -1;
  }
  if (!GetDestFileName(row)) {
    KDX_ERROR_LOG("GetDestFileName Error.Conversion abort.");
    if (!refusal_.empty()) queue_.SetStatus(row, QString::fromStdString(refusal_));
    return -1;
  }
  if (written_.Claimed(destPath_)) {
    ReportFailure(row, "Skipped: " + destPath_ + " was already written by this batch.");
    return 0;
  }
  // GetDestFileName made sure of both.
  const DEVICE_CONFIG_ENTRY& model = *window_.SelectedModel();
  // A copy: rows dropped meanwhile must not move the record under the run.
  const INPUT_VIDEO_ITEM item = *queue_.Record(row);

  currentRow_ = row;
  queue_.ShowProgress(row, 0);
  PostedRunMessages messages(window_.WindowHandle(), abort_,
                             [this](int percent, HBITMAP bitmap) { ShowProgress(percent, bitmap); });
  run_ = &messages;
  const JobResult result =
      RunConversionJob(ConversionJob{input, destPath_, model, [&item](int64_t) { return item; }}, messages);
  run_ = nullptr;
  thumbnail_.Reset();
  return ShowResult(row, result, messages.Quit());
}

int ConversionDriver::ShowResult(int row, const JobResult& result, bool quit) {
  switch (result.outcome) {
    case JobOutcome::kConverted:
      written_.Claim(destPath_);
      ReportResult(row);
      return 1;
    case JobOutcome::kFailed:
      ReportFailure(row, result.reason);
      return 0;
    case JobOutcome::kStopped:
      break;
  }
  queue_.HideProgress(row);
  queue_.SetBold(row, false);
  queue_.SetStatus(row, kCancelledText);
  // The application is quitting: the batch goes with the run.
  if (quit) converting_ = false;
  if (abort_) {
    abort_ = false;
    window_.SetStatusText("Conversion abort.");
  }
  return 1;
}

void ConversionDriver::ReportFailure(int row, const std::string& reason) {
  ShowRowFailed(queue_, row, QString::fromStdString(reason));
  KDX_ERROR_LOG(reason);
  queue_.SetBold(row, false);
  window_.SetStatusText(queue_.InputPath(row) + " Abort.");
}

void ConversionDriver::ReportResult(int row) {
  const QString name = queue_.InputPath(row);
  queue_.HideProgress(row);
  queue_.SetStatus(row, "Complete.");
  queue_.SetBold(row, false);
  const TransferOutcome transfer = window_.TransferOutputFile(row, destPath_);
  if (transfer.attempted && !transfer.copied) {
    // The transfer's failure stays on the status line until the batch ends.
    ++notCopied_;
    queue_.SetStatus(row, kNotCopiedText);
    queue_.SetStatusTip(row, QString::fromStdString(transfer.reason));
  } else {
    window_.SetStatusText(name + " complete.");
    queue_.SetStatus(row, "Complete.");
  }
}

bool ConversionDriver::GetDestFileName(int row) {
  refusal_.clear();
  if (row < 0 || row >= queue_.rowCount()) return false;
  window_.MakeRowCurrent(row);
  const DEVICE_CONFIG_ENTRY* model = window_.SelectedModel();
  const INPUT_VIDEO_ITEM* item = queue_.Record(row);
  if (model == nullptr || item == nullptr) return false;

  QWidget* owner = window_.MessageBoxOwner();
  const std::string folder = TargetOrProgramFolder(window_.DestinationFolder());
  window_.ShowDestinationFolder(folder);
  std::string failure;
  auto confirm = [owner](const std::string& missing) { return AskToCreateFolder(owner, missing); };
  if (!::GetDestFileName(folder, model->ModelName, item->strOutputName, &destPath_, &failure, confirm)) {
    ShowWarningBox(owner, QString::fromStdString(failure));
    if (failure == kFolderRefusedText)
      refusal_ = kNoFolderText;
    else
      ShowRowFailed(queue_, row, QString::fromStdString(failure));
    return false;
  }

  switch (overwrite_) {
    case Overwrite::kCancelled:
      refusal_ = kKeptText;
      return false;
    case Overwrite::kConfirmed:
      return true;
    case Overwrite::kAsk:
      break;
  }
  if (!FileExists(destPath_)) return true;
  if (!AskToOverwrite(owner, destPath_, overwriteTimeoutMs_)) {
    overwrite_ = Overwrite::kCancelled;
    refusal_ = kKeptText;
    return false;
  }
  overwrite_ = Overwrite::kConfirmed;
  return true;
}
