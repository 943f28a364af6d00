// SPDX-License-Identifier: GPL-2.0-or-later
// The options of kdxconvert.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "converter/core/request/input_video_item.h"

// What happens to a KDX file that is already there.
enum class ExistingOutput { kAsk, kReplace, kKeep };

// How much the program says besides its results.
enum class Verbosity { kQuiet, kNormal, kVerbose };

struct ConvertOptions {
  std::vector<std::string> files;
  std::vector<std::string> fileLists;     // --files-from: one input per line; "-" is standard input
  std::optional<std::string> model;       // model name; default from the settings file
  std::string quality;                    // one of the quality preset texts
  std::optional<std::string> videoMode;   // mode text; default from the model
  std::optional<VIDEO_TIME> start;        // default: the beginning
  std::optional<VIDEO_TIME> end;          // default: the whole length
  std::optional<std::string> outputFolder;
  ExistingOutput existing = ExistingOutput::kAsk;  // asked only on a terminal, else kept
  int jobs = 1;                           // files converted at once
  Verbosity verbosity = Verbosity::kNormal;
  bool json = false;
  bool addSilence = false;                // videos without sound convert with silence
  bool listModels = false;
  bool help = false;
  bool version = false;
};

// The options, or a message saying what is wrong with the command line.
struct ParsedCommandLine {
  std::optional<ConvertOptions> options;
  std::string error;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Seconds ("90"), "MM:SS" or "HH:MM:SS" (any number of hour digits up to
// five; minutes and seconds below 60, seconds always two digits).
std::optional<VIDEO_TIME> ParseVideoTime(const std::string& text);

// The text of --help.
std::string UsageText();
