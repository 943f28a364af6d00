// The handlers of the encoder's posted messages: they reach the running
// file's job, or are let go when no run is going on.
#include <algorithm>

#include "converter/gui/batch/batch_window.h"
#include "platform/base/bitmap.h"
#include "converter/gui/batch/conversion_driver.h"
#include "kdx.h"
#include "converter/gui/batch/posted_run_messages.h"
#include "converter/gui/queue/conversion_queue_model.h"

bool ConversionDriver::CurrentRowIsValid() const {
  return currentRow_ >= 0 && currentRow_ < queue_.rowCount();
}

void ConversionDriver::OnTranscodeProgress(WPARAM percent, LPARAM bitmap) {
  if (run_ != nullptr) {
    run_->Deliver(WindowMessage{WM_TRANSCODE_PROGRESS, percent, bitmap});
    return;
  }
  // Messages outside a run (a quit cut its wait short) belong to no row.
  if (bitmap != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
}

int ConversionDriver::OnTranscodeError(WPARAM code, LPARAM result) {
  if (run_ == nullptr) return -1;
  run_->Deliver(WindowMessage{WM_TRANSCODE_ERROR, code, result});
  return 0;
}

void ConversionDriver::ShowProgress(int percent, HBITMAP bitmap) {
  thumbnail_.Reset(bitmap);
  if (!CurrentRowIsValid()) return;
  queue_.ShowProgress(currentRow_, std::min(percent, 100));
  queue_.SetBold(currentRow_, true);
  if (bitmap != nullptr) window_.SetStatusText(QString("Converting %1...").arg(queue_.InputPath(currentRow_)));
  if (thumbnail_.get() != nullptr) window_.ShowThumbnail(ImageOfBitmap(thumbnail_.get()), converting_);
}
