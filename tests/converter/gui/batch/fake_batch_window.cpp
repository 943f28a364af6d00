// SPDX-License-Identifier: GPL-2.0-or-later
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
}

int FakeBatchWindow::AddFile(const std::string& path) {
  double seconds = 0;
  ReadVideoDuration(path, &seconds);
  return queue.AddRow(QString::fromStdString(path),
                      NewInputVideoItem(path, static_cast<int64_t>(seconds * kMediaUnitsPerSecond), model));
}

const DEVICE_CONFIG_ENTRY* FakeBatchWindow::SelectedModel() const { return &model; }

TransferOutcome FakeBatchWindow::TransferOutputFile(int, const std::string& path) {
  transferred.push_back(path);
  return transferOutcome;
}
