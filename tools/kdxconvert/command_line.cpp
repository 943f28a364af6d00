// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/command_line.h"

#include <array>
#include <map>

#include "converter/core/request/conversion_options.h"
#include "tools/cli/option_table.h"

namespace {

const std::map<std::string, const char*> kQualityNames = {
    {"high", kQualityHigh}, {"medium", kQualityMedium}, {"low", kQualityLow}};
const std::map<std::string, const char*> kModeNames = {{"full-screen", kModeFullScreen},
                                                       {"full-image", kModeFullImage}};
// More files at once than this would only wait for the processor's cores.
constexpr int kMostJobs = 64;
constexpr size_t kMostHourDigits = 5;
constexpr size_t kMostSecondDigits = 8;

bool AllDigits(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

std::string SetTime(std::optional<VIDEO_TIME>& time, const char* name, const std::string& value) {
  time = ParseVideoTime(value);
  if (!time) return std::string(name) + " takes a time as seconds, MM:SS or HH:MM:SS, not '" + value + "'";
  return {};
}

// The text `names` gives `value`, into `target`; else what the option takes.
template <class Target>
std::string Choose(const std::map<std::string, const char*>& names, const std::string& takes, const std::string& value,
                   Target& target) {
  auto found = names.find(value);
  if (found == names.end()) return takes + ", not '" + value + "'";
  target = found->second;
  return {};
}

using Row = OptionRow<ConvertOptions>;

// The options in the order --help lists them.
const std::array kRows = {
    Row{{"model", 'm', "NAME",
         "player model to convert for (see --list-models); default: the model last chosen in the converter, else the "
         "first"},
        [](ConvertOptions& o, const std::string& value) {
          o.model = value;
          return std::string();
        }},
    Row{{"list-models", 0, nullptr,
         "list the player models with their screen size, frame rate, default video mode and video codec, then end"},
        SetMember<&ConvertOptions::listModels, true>},
    Row{{"quality", 0, "LEVEL", "high (200 MB/hour, default), medium (128 MB/hour) or low (83 MB/hour)"},
        [](ConvertOptions& o, const std::string& value) {
          return Choose(kQualityNames, "--quality takes high, medium or low", value, o.quality);
        }},
    Row{{"mode", 0, "MODE",
         "full-screen: fill the player's screen, cropping the picture; full-image: show the whole picture; default: "
         "the model's own default"},
        [](ConvertOptions& o, const std::string& value) {
          return Choose(kModeNames, "--mode takes full-screen or full-image", value, o.videoMode);
        }},
    Row{{"start", 0, "TIME", "start of the part to convert, as seconds, MM:SS or HH:MM:SS (default: the beginning)"},
        [](ConvertOptions& o, const std::string& value) { return SetTime(o.start, "--start", value); }},
    Row{{"end", 0, "TIME", "end of the part to convert, as seconds, MM:SS or HH:MM:SS (default: the end)"},
        [](ConvertOptions& o, const std::string& value) { return SetTime(o.end, "--end", value); }},
    Row{{"output", 'o', "DIR",
         "folder that receives the model's folder; default: the converter's destination folder, else your videos "
         "folder"},
        [](ConvertOptions& o, const std::string& value) {
          if (value.empty()) return std::string("--output needs a folder");
          o.outputFolder = value;
          return std::string();
        }},
    Row{{"overwrite", 'y', nullptr, "replace existing KDX files without asking"},
        SetMember<&ConvertOptions::existing, ExistingOutput::kReplace>},
    Row{{"no-overwrite", 'n', nullptr,
         "never replace an existing KDX file: skip its source without asking. Without either option you are asked on "
         "a terminal, and the file is skipped when there is no terminal"},
        SetMember<&ConvertOptions::existing, ExistingOutput::kKeep>},
    Row{{"add-silence", 0, nullptr,
         "convert videos without a sound track, with silence as their sound; otherwise they are refused. "
         "Sound-only files and photos are refused either way"},
        SetMember<&ConvertOptions::addSilence, true>},
    Row{{"files-from", 0, "FILE",
         "also convert the files named in FILE, one on each line (empty lines are left out); - reads the names from "
         "standard input"},
        [](ConvertOptions& o, const std::string& value) {
          if (value.empty()) return std::string("--files-from needs a file");
          o.fileLists.push_back(value);
          return std::string();
        }},
    Row{{"jobs", 'j', "N", "files to convert at once, 1 to 64 (default 1); for now they are converted one after the other"},
        [](ConvertOptions& o, const std::string& value) {
          if (!AllDigits(value) || value.size() > 2 || std::stoi(value) < 1 || std::stoi(value) > kMostJobs)
            return "--jobs takes a number from 1 to " + std::to_string(kMostJobs) + ", not '" + value + "'";
          o.jobs = std::stoi(value);
          return std::string();
        }},
    Row{{"json", 0, nullptr,
         "print the results as JSON on standard output: one object on a line for each file (source, destination, "
         "outcome, reason, seconds), then one with the summary; with --list-models, the models as one array"},
        SetMember<&ConvertOptions::json, true>},
    Row{{"quiet", 'q', nullptr, "print only what went wrong: no progress, no lines for converted files, no summary"},
        SetMember<&ConvertOptions::verbosity, Verbosity::kQuiet>},
    Row{{"verbose", 'v', nullptr, "also let FFmpeg's own messages about the files through"},
        SetMember<&ConvertOptions::verbosity, Verbosity::kVerbose>},
    Row{{"help", 'h', nullptr, "show this text and end"},
        SetMember<&ConvertOptions::help, true>},
    Row{{"version", 0, nullptr, "show the version and end"},
        SetMember<&ConvertOptions::version, true>},
};

}  // namespace

std::optional<VIDEO_TIME> ParseVideoTime(const std::string& text) {
  std::vector<std::string> fields = {""};
  for (char c : text) {
    if (c == ':') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  for (const std::string& field : fields) {
    if (!AllDigits(field)) return std::nullopt;
  }
  if (fields.size() == 1) {
    if (fields[0].size() > kMostSecondDigits) return std::nullopt;
    return SecondsToVideoTime(std::stoll(fields[0]));
  }
  if (fields.size() > 3) return std::nullopt;
  const std::string& seconds = fields.back();
  const std::string& minutes = fields[fields.size() - 2];
  // MM:SS takes one or two digits of minutes, HH:MM:SS exactly two.
  const bool minutesFit = fields.size() == 2 ? minutes.size() <= 2 : minutes.size() == 2;
  if (seconds.size() != 2 || !minutesFit) return std::nullopt;
  VIDEO_TIME time{0, std::stoi(minutes), std::stoi(seconds)};
  if (fields.size() == 3) {
    if (fields[0].size() > kMostHourDigits) return std::nullopt;
    time.nHour = std::stoi(fields[0]);
  }
  if (time.nMinute > 59 || time.nSecond > 59) return std::nullopt;
  return time;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  ConvertOptions options;
  options.quality = kQualityHigh;
  std::vector<std::string> operands;
  const std::string error = ApplyArguments<ConvertOptions>(kRows, arguments, options, &operands);
  if (!error.empty()) return {std::nullopt, error};
  options.files = std::move(operands);
  const bool nothingElseAsked = !options.help && !options.version && !options.listModels;
  if (options.files.empty() && options.fileLists.empty() && nothingElseAsked) {
    return {std::nullopt, "no input file given"};
  }
  return {options, {}};
}

std::string UsageText() {
  return "Usage: kdxconvert [OPTION]... FILE...\n"
         "Converts video files into KDX files for a Norvik player, one after the other.\n"
         "Each FILE becomes OUTPUT/MODEL/NAME.kdx, NAME being the file's name without\n"
         "its extension; missing folders are created.\n"
         "\n"
         "Options:\n" +
         OptionHelp(SpecsOf<ConvertOptions>(kRows)) +
         "\n"
         "Progress goes to standard error: a bar on a terminal, else a line for each\n"
         "tenth of a file. Ctrl-C stops the running file (leaving no partial output)\n"
         "and ends the batch.\n"
         "\n"
         "Exit status: 0 when every file was converted, 1 when any failed or was\n"
         "skipped, 2 for a wrong command line; stopped by a signal, the shell sees\n"
         "128 plus its number (130 for Ctrl-C).\n"
         "\n"
         "Examples:\n"
         "  kdxconvert -m NK-176T --quality medium --start 1:00 --end 2:30 \\\n"
         "      -o ~/kdx holiday.mp4 party.avi\n"
         "  find ~/clips -name '*.mkv' | kdxconvert -m NK-128 -n --files-from - --json\n";
}
