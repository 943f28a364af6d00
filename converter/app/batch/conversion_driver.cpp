#include "conversion_driver.h"

#include <ctime>
#include <filesystem>

#include "batch_window.h"
#include "destination_path.h"
#include "failure_texts.h"
#include "frame_filter_hook.h"
#include "input_video_item.h"
#include "kdx.h"
#include "log_file.h"
#include "message_box.h"
#include "row_states.h"
#include "transcoder_request.h"
#include "XListCtrl.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kNotCopiedText = "Converted; not copied to the player.";

QString FinishedText(int notCopied) {
  if (notCopied == 0) return "Conversion finished.";
  return QString("Conversion finished. %1 %2 not copied to the player.")
      .arg(notCopied)
      .arg(notCopied == 1 ? "file was" : "files were");
}

bool FileExists(const std::string& path) {
  std::error_code ignored;
  return fs::exists(path, ignored);
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
  inputPath_ = input;
  if (!GetDestFileName(row)) {
    KDX_ERROR_LOG("GetDestFileName Error.Conversion abort.");
    return -1;
  }

  int64_t duration = 0;
  const HRESULT opened = NewTranscoder(window_.WindowHandle(), inputPath_.c_str(), destPath_.c_str(), &duration);
  if (opened != S_OK) {
    ShowRowFailed(list, row, QString::fromStdString(NewTranscoderFailureText(opened)));
    return 0;
  }
  // GetDestFileName made sure of both.
  const DEVICE_CONFIG_ENTRY& model = *window_.SelectedModel();
  const auto& item = *static_cast<const INPUT_VIDEO_ITEM*>(list.GetItemData(row));
  // hDC stays null: the encoder makes its thumbnails without a device context.
  TranscoderRequest request = BuildTranscoderParam(model, item, window_.WindowHandle(), &FrameFilterHook);
  SetScalingFilter(request.scalingFilter);

  const std::time_t startedAt = std::time(nullptr);
  currentRow_ = row;
  fileDone_.Reset();
  runFinished_.Reset();
  ShowRowProgress(list, row, 0);
  success_ = true;
  runFailed_ = false;
  runActive_ = true;
  if (Transcode(&request.param) == 0) {
    runActive_ = false;
    ReportRunFailure(row, kNotStartedText);
    return 0;
  }
  if (!WaitForRun()) {
    // The application is quitting: the run goes with it, and so does the batch.
    StopTranscode();
    runActive_ = false;
    converting_ = false;
    list.DeleteProgress(row, kStatusColumn);
    return 1;
  }
  if (abort_) {
    abort_ = false;
    list.DeleteProgress(row, kStatusColumn);
    window_.SetStatusText("Conversion abort.");
    return 1;
  }
  if (success_) ReportResult(row, static_cast<long long>(startedAt));
  return 1;
}

bool ConversionDriver::WaitForRun() {
  // An error ends the file's wait before the run has posted its final
  // message; that message must not end the wait of the next file.
  return fileDone_.Wait() && runFinished_.Wait();
}

void ConversionDriver::ReportResult(int row, long long startedAt) {
  CXListCtrl& list = window_.FileList();
  const QString name = list.GetItemText(row, kInputColumn);
  list.DeleteProgress(row, kStatusColumn);
  if (!FileExists(destPath_)) {
    ShowRowFailed(list, row, kUnsupportedFormatText);
    window_.SetStatusText(name + " Abort.");
    return;
  }
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
  WriteLog("KDX Converting %s took time: %d", inputPath_.c_str(), static_cast<int>(std::time(nullptr) - startedAt));
}

bool ConversionDriver::GetDestFileName(int row) {
  CXListCtrl& list = window_.FileList();
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
    return false;
  }

  switch (overwrite_) {
    case Overwrite::kCancelled:
      return false;
    case Overwrite::kConfirmed:
      return true;
    case Overwrite::kAsk:
      break;
  }
  if (!FileExists(destPath_)) return true;
  if (!AskToOverwrite(owner, destPath_, overwriteTimeoutMs_)) {
    overwrite_ = Overwrite::kCancelled;
    return false;
  }
  overwrite_ = Overwrite::kConfirmed;
  MakeWritable(destPath_);
  return true;
}
