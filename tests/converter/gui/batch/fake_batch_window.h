// A main window stand-in for the batch: a real file list and a real message
// window that hands the encoder's messages to the driver, with hooks that
// let a test act at chosen moments.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "converter/gui/widgets/XListCtrl.h"
#include "converter/gui/batch/batch_window.h"
#include "converter/gui/batch/conversion_driver.h"
#include "converter/core/request/input_video_item.h"
#include "converter/gui/widgets/posted_message_window.h"

class FakeBatchWindow : public BatchWindow {
 public:
  FakeBatchWindow();

  // Queues a file ticked, with its measured length and the model's defaults.
  int AddFile(const std::string& path);

  CXListCtrl& FileList() override { return list_; }
  QWidget* MessageBoxOwner() override { return &owner_; }
  HWND WindowHandle() const override { return messages_.window(); }
  void ShowItemSettings(int) override {}
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

  ConversionDriver driver{*this};
  DEVICE_CONFIG_ENTRY model;
  std::string destination;
  QStringList statusTexts;
  QString caption;
  bool quitEnabled = true;
  bool controlsEnabled = true;
  std::vector<QImage> thumbnails;
  std::vector<std::string> transferred;
  TransferOutcome transferOutcome;  // what every transfer answers
  // Sees each encoder message first; true keeps it from the driver.
  std::function<bool(const WindowMessage&)> onMessage;

 private:
  QWidget owner_;
  CXListCtrl list_;
  PostedMessageWindow messages_;
  std::vector<std::unique_ptr<INPUT_VIDEO_ITEM>> items_;
};
