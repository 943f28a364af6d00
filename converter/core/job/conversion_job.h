// SPDX-License-Identifier: GPL-2.0-or-later
// One source file through the encoder, the same for every front end: measure
// the source, open it, check the range before anything is touched, convert,
// follow the run's messages, and judge what it left.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "converter/core/devices/device_config_entry.h"
#include "converter/core/request/input_video_item.h"
#include "converter/core/job/run_messages.h"

struct ConversionJob {
  std::string input;
  // Its folder exists; an older file there is replaced only by a finished one.
  std::string destination;
  const DEVICE_CONFIG_ENTRY& model;
  // The file's settings once its length (100-ns units) is known.
  std::function<INPUT_VIDEO_ITEM(int64_t duration)> settings;
  // A video without a sound track converts with a silent sound part;
  // otherwise its reason ends with the hint naming the choice that would.
  bool addSilence = false;
  std::string silenceHint;
  // Folders made for this file, innermost first: removed again, as far as
  // they are empty, when it does not convert.
  std::vector<std::string> madeFolders;
};

enum class JobOutcome { kConverted, kFailed, kStopped };

struct JobResult {
  JobOutcome outcome = JobOutcome::kFailed;
  // Why it failed, as the row's tooltip shows it.
  std::string reason;
  int seconds = 0;  // how long the run took
};

JobResult RunConversionJob(const ConversionJob& job, RunMessages& messages);

// "Failed. " before a reason that does not start with it.
std::string FailedLine(const std::string& reason);
