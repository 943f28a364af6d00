// SPDX-License-Identifier: GPL-2.0-or-later
// The conversion batch behind the Convert button.
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/batch/conversion_driver.h"

void CHalvardVideoConverterDlg::ConvertAll() {
  // An edit still open belongs to its row before the batch reads it.
  CommitPanelEdits();
  m_driver->ConvertAll();
}

void CHalvardVideoConverterDlg::CancelConversion() { m_driver->CancelConversion(); }

void CHalvardVideoConverterDlg::OnTranscodeProgress(WPARAM wParam, LPARAM lParam) {
  m_driver->OnTranscodeProgress(wParam, lParam);
}

void CHalvardVideoConverterDlg::OnTranscodeError(WPARAM wParam, LPARAM lParam) {
  m_driver->OnTranscodeError(wParam, lParam);
}

bool CHalvardVideoConverterDlg::IsConverting() const { return m_driver && m_driver->IsConverting(); }
