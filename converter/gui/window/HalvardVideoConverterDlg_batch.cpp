// The conversion batch behind the Convert button, and the hand-over of a
// converted file to the connected player.
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/batch/conversion_driver.h"
#include "converter/gui/players/dialog_players.h"

void CHalvardVideoConverterDlg::ConvertAll() { m_driver->ConvertAll(); }

void CHalvardVideoConverterDlg::CancelConversion() { m_driver->CancelConversion(); }

void CHalvardVideoConverterDlg::OnTranscodeProgress(WPARAM wParam, LPARAM lParam) {
  m_driver->OnTranscodeProgress(wParam, lParam);
}

void CHalvardVideoConverterDlg::OnTranscodeError(WPARAM wParam, LPARAM lParam) {
  m_driver->OnTranscodeError(wParam, lParam);
}

bool CHalvardVideoConverterDlg::IsConverting() const { return m_driver && m_driver->IsConverting(); }

TransferOutcome CHalvardVideoConverterDlg::TransferOutputFile(int row, const std::string& path) {
  return m_players->TransferOutputFile(row, path);
}
