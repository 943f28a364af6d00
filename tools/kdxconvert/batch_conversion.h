// SPDX-License-Identifier: GPL-2.0-or-later
// The batch: every input file in turn, into the model's folder under the
// output folder, reported as the options ask.
#pragma once

#include <string>

#include "converter/core/devices/device_config_entry.h"
#include "tools/kdxconvert/batch_report.h"
#include "tools/kdxconvert/command_line.h"

BatchSummary ConvertBatch(const ConvertOptions& options, const DEVICE_CONFIG_ENTRY& model,
                          const std::string& outputFolder);
