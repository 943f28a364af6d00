// The handlers of the encoder's posted messages, run inside the batch's wait.
#include <algorithm>

#include "batch_window.h"
#include "bitmap.h"
#include "conversion_driver.h"
#include "failure_texts.h"
#include "log_file.h"
#include "row_states.h"
#include "XListCtrl.h"

bool ConversionDriver::CurrentRowIsValid() const {
  return currentRow_ >= 0 && currentRow_ < window_.FileList().GetItemCount();
}

void ConversionDriver::OnTranscodeProgress(WPARAM percentValue, LPARAM bitmapValue) {
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(bitmapValue);
  // Messages outside a run (a quit cut its wait short) belong to no row.
  if (!runActive_ || !CurrentRowIsValid()) {
    if (bitmap != nullptr) DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
    return;
  }
  const int percent = static_cast<int>(std::min<WPARAM>(percentValue, 100));
  const bool runEnds = percent == 100;
  if (runFailed_) {
    // The row already shows the error; the run only has to end.
    if (bitmap != nullptr) DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
    if (runEnds) {
      runActive_ = false;
      runFinished_.Signal();
    }
    return;
  }

  CXListCtrl& list = window_.FileList();
  ShowRowProgress(list, currentRow_, percent);
  list.SetBold(currentRow_, kInputColumn, true);
  thumbnail_.Reset(bitmap);
  if (bitmap != nullptr) {
    window_.SetStatusText(QString("Converting %1...").arg(list.GetItemText(currentRow_, kInputColumn)));
  }
  if (runEnds) {
    ShowRowProgress(list, currentRow_, 0);
    thumbnail_.Reset();
    runActive_ = false;
    fileDone_.Signal();
    runFinished_.Signal();
  }
  if (thumbnail_.get() != nullptr) window_.ShowThumbnail(ImageOfBitmap(thumbnail_.get()), converting_);
}

int ConversionDriver::OnTranscodeError(WPARAM code, LPARAM result) {
  if (!runActive_ || !CurrentRowIsValid()) return -1;
  ReportRunFailure(currentRow_, TranscodeErrorText(code, result));
  success_ = false;
  runFailed_ = true;
  fileDone_.Signal();
  return 0;
}

void ConversionDriver::ReportRunFailure(int row, const std::string& reason) {
  CXListCtrl& list = window_.FileList();
  ShowRowFailed(list, row, QString::fromStdString(reason));
  KDX_ERROR_LOG(reason);
  list.SetBold(row, kInputColumn, false);
  window_.SetStatusText(list.GetItemText(row, kInputColumn) + " Abort.");
}
