// The batch: every input file in turn, into the model's folder under the
// output folder.
#pragma once

#include <string>

#include "command_line.h"
#include "device_config_entry.h"

struct BatchSummary {
  int converted = 0;
  int failed = 0;
  int skipped = 0;
  bool stopped = false;
};

BatchSummary ConvertBatch(const ConvertOptions& options, const DEVICE_CONFIG_ENTRY& model,
                          const std::string& outputFolder);
