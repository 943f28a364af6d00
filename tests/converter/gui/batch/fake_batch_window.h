// SPDX-License-Identifier: GPL-2.0-or-later
// A main window stand-in for the batch: the real queue model and a real
// message window that hands the encoder's messages to the driver, with hooks
// that let a test act at chosen moments. No widget is shown.
#pragma once

#include <QStringList>
#include <functional>
#include <vector>

#include "converter/gui/batch/batch_window.h"
#include "converter/gui/batch/conversion_driver.h"
#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/widgets/posted_message_window.h"

class FakeBatchWindow : public BatchWindow {
 public:
  FakeBatchWindow();

  // Queues a file ticked, with its measured length and the model's defaults.
  int AddFile(const std::string& path);

  QWidget* MessageBoxOwner() override { return nullptr; }
  HWND WindowHandle() const override { return messages_.window(); }
  void MakeRowCurrent(int row) override { currentRows.push_back(row); }
  void StopPreview() override {}
  void SetStatusText(const QString& text) override { statusTexts.append(text); }
  void SetConvertCaption(const QString& text) override { caption = text; }
  void EnableQuit(bool enable) override { quitEnabled = enable; }
  void EnableBatchLockedControls(bool enable) override { controlsEnabled = enable; }
  void ShowThumbnail(const QImage& picture, bool) override { thumbnails.push_back(picture); }
  void ShowPreviewArea() override {}
  std::string DestinationFolder() override { return destination; }
  void ShowDestinationFolder(const std::string& folder) override { destination = folder; }
  const DEVICE_CONFIG_ENTRY* SelectedModel() const override;
  QString VideoCodecText() const override { return "kdx"; }
  TransferOutcome TransferOutputFile(int, const std::string& path) override;

  ConversionQueueModel queue;
  ConversionDriver driver{*this, queue};
  DEVICE_CONFIG_ENTRY model;
  std::string destination;
  QStringList statusTexts;
  std::vector<int> currentRows;  // each row the batch made current, in order
  QString caption;
  bool quitEnabled = true;
  bool controlsEnabled = true;
  std::vector<QImage> thumbnails;
  std::vector<std::string> transferred;
  TransferOutcome transferOutcome;  // what every transfer answers
  // Sees each encoder message first; true keeps it from the driver.
  std::function<bool(const WindowMessage&)> onMessage;

 private:
  PostedMessageWindow messages_;
};
