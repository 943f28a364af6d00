// The conversion batch behind the Convert button. The batch itself is not
// part of this window yet: Convert tells so, and messages posted by the
// encoder are only tidied away.
#include "HalvardVideoConverterDlg.h"
#include "bitmap.h"
#include "kdx.h"
#include "message_box.h"

void CHalvardVideoConverterDlg::ConvertAll() {
  ShowWarningBox(this, QStringLiteral("Converting is not available in this build."));
}

void CHalvardVideoConverterDlg::CancelConversion() {}

void CHalvardVideoConverterDlg::OnTranscodeProgress(WPARAM, LPARAM lParam) {
  // The thumbnail of a progress message belongs to its receiver.
  if (lParam != 0) DeleteObject(reinterpret_cast<HGDIOBJ>(lParam));
}

void CHalvardVideoConverterDlg::OnTranscodeError(WPARAM, LPARAM) {}

bool CHalvardVideoConverterDlg::IsConverting() const { return false; }

bool CHalvardVideoConverterDlg::TransferOutputFile(int, const std::string&) {
  // Player detection fills this in; until then nothing reaches a player.
  return false;
}
