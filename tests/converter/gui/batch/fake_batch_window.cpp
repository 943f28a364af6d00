#include "tests/converter/gui/batch/fake_batch_window.h"

#include "converter/core/devices/TesselConfigFile.h"
#include "kdx.h"
#include "converter/core/probe/video_duration.h"

FakeBatchWindow::FakeBatchWindow()
    : messages_([this](const WindowMessage& message) {
        if (onMessage && onMessage(message)) return;
        if (message.message == WM_TRANSCODE_PROGRESS) driver.OnTranscodeProgress(message.wParam, message.lParam);
        if (message.message == WM_TRANSCODE_ERROR) driver.OnTranscodeError(message.wParam, message.lParam);
      }) {
  CTesselConfigFile table;
  if (table.Init() && table.GetTesselDeviceNode() && table.GetDeviceCount() > 0) model = table.GetDevice(0);
  for (const char* heading : {"Input Video Files", "Type", "Size", "Status"}) {
    list_.InsertColumn(list_.GetColumnCount(), heading);
  }
}

int FakeBatchWindow::AddFile(const std::string& path) {
  double seconds = 0;
  ReadVideoDuration(path, &seconds);
  items_.push_back(std::make_unique<INPUT_VIDEO_ITEM>(
      NewInputVideoItem(path, static_cast<int64_t>(seconds * kMediaUnitsPerSecond), model)));
  const int row = list_.InsertItem(list_.GetItemCount(), QString::fromStdString(path));
  list_.SetItemData(row, items_.back().get());
  list_.SetCheckbox(row, 0, 1);
  return row;
}

const DEVICE_CONFIG_ENTRY* FakeBatchWindow::SelectedModel() const { return &model; }

TransferOutcome FakeBatchWindow::TransferOutputFile(int, const std::string& path) {
  transferred.push_back(path);
  return transferOutcome;
}
