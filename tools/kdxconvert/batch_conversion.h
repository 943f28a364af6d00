// The batch: every input file in turn, into the model's folder under the
// output folder.
#pragma once

#include <string>

#include "tools/kdxconvert/command_line.h"
#include "converter/core/devices/device_config_entry.h"

struct BatchSummary {
  int converted = 0;
  int failed = 0;
  int skipped = 0;
  bool stopped = false;
};

BatchSummary ConvertBatch(const ConvertOptions& options, const DEVICE_CONFIG_ENTRY& model,
                          const std::string& outputFolder);
