// SPDX-License-Identifier: GPL-2.0-or-later
// One file of the command line's batch through the shared conversion job.
#pragma once

#include <string>
#include <vector>

#include "converter/core/devices/device_config_entry.h"
#include "platform/base/message_window.h"
#include "tools/kdxconvert/batch_report.h"
#include "tools/kdxconvert/command_line.h"
#include "tools/kdxconvert/progress_display.h"

struct FileJob {
  std::string input;
  std::string destination;  // its folder exists; any old file there may be replaced
  const DEVICE_CONFIG_ENTRY& model;
  const ConvertOptions& options;
  // Made for this file, innermost first; removed again when it fails.
  std::vector<std::string> madeFolders;
};

// Converts the file, showing its progress. Every message of the run is read
// before it returns, so none reaches the next file's run.
FileResult ConvertFile(const FileJob& job, MessageQueue& queue, ProgressDisplay& progress);
