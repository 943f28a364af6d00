#include "tools/kdxconvert/command_line.h"

#include <cstdio>
#include <map>

#include "converter/core/request/conversion_options.h"

namespace {

const std::map<std::string, const char*> kQualityNames = {
    {"high", kQualityHigh}, {"medium", kQualityMedium}, {"low", kQualityLow}};
const std::map<std::string, const char*> kModeNames = {{"full-screen", kModeFullScreen},
                                                       {"full-image", kModeFullImage}};

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// Applies one option with its value; returns the error text, empty when fine.
std::string ApplyValueOption(ConvertOptions& options, const std::string& name, const std::string& value) {
  if (name == "--model") {
    options.model = value;
  } else if (name == "--quality") {
    auto found = kQualityNames.find(value);
    if (found == kQualityNames.end()) return "--quality takes high, medium or low, not '" + value + "'";
    options.quality = found->second;
  } else if (name == "--mode") {
    auto found = kModeNames.find(value);
    if (found == kModeNames.end()) return "--mode takes full-screen or full-image, not '" + value + "'";
    options.videoMode = found->second;
  } else if (name == "--start" || name == "--end") {
    auto time = ParseVideoTime(value);
    if (!time) return name + " takes a time as HH:MM:SS, not '" + value + "'";
    (name == "--start" ? options.start : options.end) = time;
  } else if (name == "--output") {
    if (value.empty()) return "--output needs a folder";
    options.outputFolder = value;
  }
  return {};
}

}  // namespace

std::optional<VIDEO_TIME> ParseVideoTime(const std::string& text) {
  size_t first = text.find(':');
  size_t second = first == std::string::npos ? std::string::npos : text.find(':', first + 1);
  if (second == std::string::npos) return std::nullopt;
  std::string hours = text.substr(0, first);
  std::string minutes = text.substr(first + 1, second - first - 1);
  std::string seconds = text.substr(second + 1);
  if (!AllDigits(hours) || hours.size() > 5 || minutes.size() != 2 || seconds.size() != 2 || !AllDigits(minutes) ||
      !AllDigits(seconds)) {
    return std::nullopt;
  }
  VIDEO_TIME time{std::stoi(hours), std::stoi(minutes), std::stoi(seconds)};
  if (time.nMinute > 59 || time.nSecond > 59) return std::nullopt;
  return time;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  static const char* const kValueOptions[] = {"--model", "--quality", "--mode", "--start", "--end", "--output"};
  ConvertOptions options;
  options.quality = kQualityHigh;
  bool onlyFiles = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (onlyFiles || argument.empty() || argument[0] != '-' || argument == "-") {
      options.files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      onlyFiles = true;
    } else if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--list-models") {
      options.listModels = true;
    } else if (argument == "--overwrite") {
      options.overwrite = true;
    } else if (argument == "--add-silence") {
      options.addSilence = true;
    } else {
      size_t equals = argument.find('=');
      std::string name = argument.substr(0, equals);
      bool known = false;
      for (const char* option : kValueOptions) known = known || name == option;
      if (!known) return {std::nullopt, "unknown option '" + name + "'"};
      std::string value;
      if (equals != std::string::npos) {
        value = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        value = arguments[++i];
      } else {
        return {std::nullopt, name + " needs a value"};
      }
      if (std::string error = ApplyValueOption(options, name, value); !error.empty()) return {std::nullopt, error};
    }
  }
  if (options.files.empty() && !options.help && !options.listModels) return {std::nullopt, "no input file given"};
  return {options, {}};
}

std::string UsageText() {
  return R"(Usage: kdxconvert [options] FILE...
Converts video files into KDX files for a Norvik player, one after the other.
Each FILE becomes OUTPUT/MODEL/NAME.kdx, NAME being the file's name without
its extension; missing folders are created.

Options:
  --model NAME        player model to convert for (see --list-models); default:
                      the model last chosen in the converter, else the first
  --list-models       list the player models with their screen size, frame
                      rate, default video mode and video codec, then end
  --quality LEVEL     high (200 MB/hour, default), medium (128 MB/hour) or
                      low (83 MB/hour)
  --mode MODE         full-screen: fill the player's screen, cropping the
                      picture; full-image: show the whole picture; default:
                      the model's own default
  --start HH:MM:SS    start of the part to convert (default: the beginning)
  --end HH:MM:SS      end of the part to convert (default: the end)
  --output DIR        folder that receives the model's folder; default: the
                      converter's destination folder, else your videos folder
  --overwrite         replace existing KDX files without asking; otherwise
                      you are asked on a terminal, and the file is skipped
                      when there is no terminal
  --add-silence       convert videos without a sound track, with silence as
                      their sound; otherwise they are refused. Sound-only
                      files and photos are refused either way
  -h, --help          show this text

Ctrl-C stops the running file (leaving no partial output) and ends the batch.
Exit status: 0 when every file was converted, 1 when any failed or was
skipped, 2 for a wrong command line.

Example:
  kdxconvert --model NK-176T --quality medium --start 00:01:00 --end 00:02:30 \
      --output ~/kdx holiday.mp4 party.avi
)";
}
