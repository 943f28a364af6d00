// SPDX-License-Identifier: GPL-2.0-or-later
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
  return m_currentRow >= 0 && m_currentRow < m_queue.rowCount();
}

void ConversionDriver::OnTranscodeProgress(WPARAM percent, LPARAM bitmap) {
  if (m_run != nullptr) {
    m_run->Deliver(WindowMessage{WM_TRANSCODE_PROGRESS, percent, bitmap});
    return;
  }
  // Messages outside a run (a quit cut its wait short) belong to no row.
  if (bitmap != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
}

int ConversionDriver::OnTranscodeError(WPARAM code, LPARAM result) {
  if (m_run == nullptr) return -1;
  m_run->Deliver(WindowMessage{WM_TRANSCODE_ERROR, code, result});
  return 0;
}

void ConversionDriver::ShowProgress(int percent, HBITMAP bitmap) {
  m_thumbnail.Reset(bitmap);
  if (!CurrentRowIsValid()) return;
  m_queue.ShowProgress(m_currentRow, std::min(percent, 100));
  m_queue.SetBold(m_currentRow, true);
  if (bitmap != nullptr) m_window.SetStatusText(QString("Converting %1...").arg(m_queue.InputPath(m_currentRow)));
  if (m_thumbnail.get() != nullptr) m_window.ShowThumbnail(ImageOfBitmap(m_thumbnail.get()), m_converting);
}
