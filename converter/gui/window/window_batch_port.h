// SPDX-License-Identifier: GPL-2.0-or-later
// The main window as the conversion batch sees it: its questions' owner, the
// status line, the thumbnail, Convert and Quit, the locked controls and the
// fields the batch reads. The window owns one; the rows go through the queue.
#pragma once

#include "converter/gui/batch/batch_window.h"

class CHalvardVideoConverterDlg;

class WindowBatchPort : public BatchWindow {
 public:
  explicit WindowBatchPort(CHalvardVideoConverterDlg& window) : m_window(window) {}

  QWidget* MessageBoxOwner() override;
  HWND WindowHandle() const override;
  void MakeRowCurrent(int row) override;
  void StopPreview() override;
  void SetStatusText(const QString& text) override;
  void SetConvertCaption(const QString& caption) override;
  void EnableQuit(bool enable) override;
  void EnableBatchLockedControls(bool enable) override;
  void ShowThumbnail(const QImage& picture, bool atOwnSize) override;
  void ShowPreviewArea() override;
  std::string DestinationFolder() override;
  void ShowDestinationFolder(const std::string& folder) override;
  const DEVICE_CONFIG_ENTRY* SelectedModel() const override;
  QString VideoCodecText() const override;
  bool AddSilence() const override;
  TransferOutcome TransferOutputFile(int row, const std::string& path) override;

 private:
  CHalvardVideoConverterDlg& m_window;
};
