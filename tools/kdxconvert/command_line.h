// The options of kdxconvert.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "converter/core/request/input_video_item.h"

struct ConvertOptions {
  std::vector<std::string> files;
  std::optional<std::string> model;       // model name; default from the settings file
  std::string quality;                    // one of the quality preset texts
  std::optional<std::string> videoMode;   // mode text; default from the model
  std::optional<VIDEO_TIME> start;        // default: the beginning
  std::optional<VIDEO_TIME> end;          // default: the whole length
  std::optional<std::string> outputFolder;
  bool overwrite = false;
  bool addSilence = false;                // videos without sound convert with silence
  bool listModels = false;
  bool help = false;
};

// The options, or a message saying what is wrong with the command line.
struct ParsedCommandLine {
  std::optional<ConvertOptions> options;
  std::string error;
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// "HH:MM:SS" (any number of hour digits, minutes and seconds below 60).
std::optional<VIDEO_TIME> ParseVideoTime(const std::string& text);

// The text of --help.
std::string UsageText();
