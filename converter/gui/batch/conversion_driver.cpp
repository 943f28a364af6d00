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
#include "converter/gui/widgets/XListCtrl.h"

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

ConversionDriver::ConversionDriver(BatchWindow& window) : window_(window) {}

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

  CXListCtrl& list = window_.FileList();
  // The count is read on every turn: files dropped meanwhile join the batch.
  for (int row = 0; row < list.GetItemCount(); ++row) {
    window_.ShowItemSettings(row);
    if (!converting_ || list.GetCheckbox(row, kInputColumn) != 1) continue;
    list.SetItemText(row, kStatusColumn, "");
    list.SetItemToolTipText(row, kStatusColumn, "");
    currentRow_ = row;
    overwrite_ = Overwrite::kAsk;
    if (!kdx) continue;
    ConvertFile(row);
    list.SetCheckbox(row, kInputColumn, 0);
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
  CXListCtrl& list = window_.FileList();
  if (!list.GetEnabled(row)) return -1;
  const std::string input = RowInputPath(list, row);
  if (!FileExists(input)) {
    list.SetEnabled(row, false);
    list.SetItemText(row, kStatusColumn, kMissingInputText);
    return -1;
  }
  if (!GetDestFileName(row)) {
    KDX_ERROR_LOG("GetDestFileName Error.Conversion abort.");
    if (!refusal_.empty()) list.SetItemText(row, kStatusColumn, QString::fromStdString(refusal_));
    return -1;
  }
  if (written_.Claimed(destPath_)) {
    ReportFailure(row, "Skipped: " + destPath_ + " was already written by this batch.");
    return 0;
  }
  // GetDestFileName made sure of both.
  const DEVICE_CONFIG_ENTRY& model = *window_.SelectedModel();
  const auto& item = *static_cast<const INPUT_VIDEO_ITEM*>(list.GetItemData(row));

  currentRow_ = row;
  ShowRowProgress(list, row, 0);
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
  CXListCtrl& list = window_.FileList();
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
  list.DeleteProgress(row, kStatusColumn);
  list.SetBold(row, kInputColumn, false);
  list.SetItemText(row, kStatusColumn, kCancelledText);
  // The application is quitting: the batch goes with the run.
  if (quit) converting_ = false;
  if (abort_) {
    abort_ = false;
    window_.SetStatusText("Conversion abort.");
  }
  return 1;
}

void ConversionDriver::ReportFailure(int row, const std::string& reason) {
  CXListCtrl& list = window_.FileList();
  ShowRowFailed(list, row, QString::fromStdString(reason));
  KDX_ERROR_LOG(reason);
  list.SetBold(row, kInputColumn, false);
  window_.SetStatusText(list.GetItemText(row, kInputColumn) + " Abort.");
}

void ConversionDriver::ReportResult(int row) {
  CXListCtrl& list = window_.FileList();
  const QString name = list.GetItemText(row, kInputColumn);
  list.DeleteProgress(row, kStatusColumn);
  list.SetItemText(row, kStatusColumn, "Complete.");
  list.SetBold(row, kInputColumn, false);
  const TransferOutcome transfer = window_.TransferOutputFile(row, destPath_);
  if (transfer.attempted && !transfer.copied) {
    // The transfer's failure stays on the status line until the batch ends.
    ++notCopied_;
    list.SetItemText(row, kStatusColumn, kNotCopiedText);
    list.SetItemToolTipText(row, kStatusColumn, QString::fromStdString(transfer.reason));
  } else {
    window_.SetStatusText(name + " complete.");
    list.SetItemText(row, kStatusColumn, "Complete.");
  }
}

bool ConversionDriver::GetDestFileName(int row) {
  CXListCtrl& list = window_.FileList();
  refusal_.clear();
  if (row < 0 || row >= list.GetItemCount()) return false;
  window_.ShowItemSettings(row);
  const DEVICE_CONFIG_ENTRY* model = window_.SelectedModel();
  const auto* item = static_cast<const INPUT_VIDEO_ITEM*>(list.GetItemData(row));
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
      ShowRowFailed(list, row, QString::fromStdString(failure));
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
