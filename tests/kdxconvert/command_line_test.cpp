// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/command_line.h"

#include <gtest/gtest.h>

#include <fstream>

#include "converter/core/request/conversion_options.h"
#include "tests/support/test_paths.h"
#include "tools/kdxconvert/file_list.h"

namespace {

// What a command line set, leaving out what it left at the defaults
// (quality High, asking before a replace, one job, normal messages).
std::string Described(const ConvertOptions& o) {
  std::string text;
  const auto add = [&text](const std::string& item) { text += (text.empty() ? "" : " ") + item; };
  for (const std::string& file : o.files) add("file=" + file);
  for (const std::string& list : o.fileLists) add("list=" + list);
  if (o.model) add("model=" + *o.model);
  if (o.quality != kQualityHigh) add("quality=" + o.quality.substr(0, o.quality.find_first_of(" (")));
  if (o.videoMode) add("mode=" + *o.videoMode);
  if (o.start) add("start=" + FormatVideoTime(*o.start));
  if (o.end) add("end=" + FormatVideoTime(*o.end));
  if (o.outputFolder) add("output=" + *o.outputFolder);
  if (o.existing != ExistingOutput::kAsk) add(o.existing == ExistingOutput::kReplace ? "replace" : "keep");
  if (o.jobs != 1) add("jobs=" + std::to_string(o.jobs));
  if (o.verbosity != Verbosity::kNormal) add(o.verbosity == Verbosity::kQuiet ? "quiet" : "verbose");
  if (o.json) add("json");
  if (o.addSilence) add("add-silence");
  if (o.listModels) add("list-models");
  if (o.help) add("help");
  if (o.version) add("version");
  return text;
}

// The options a command line sets, or "error: " and what is wrong with it.
std::string Outcome(const std::vector<std::string>& arguments) {
  const ParsedCommandLine parsed = ParseCommandLine(arguments);
  return parsed.options ? Described(*parsed.options) : "error: " + parsed.error;
}

TEST(CommandLine, ReadsTheOptionsLikeOtherGnuTools) {
  const struct {
    std::vector<std::string> arguments;
    std::string outcome;
  } rows[] = {
      {{"a.mp4", "b.avi"}, "file=a.mp4 file=b.avi"},
      {{"--model", "NK-96", "--quality=low", "--mode", "full-screen", "--start=00:01:05", "--end", "1:02:03",
        "--output", "/out", "--overwrite", "--", "--odd name.mp4"},
       "file=--odd name.mp4 model=NK-96 quality=Low mode=Full Screen start=00:01:05 end=01:02:03 output=/out replace"},
      {{"--quality", "medium", "--mode", "full-image", "x"}, "file=x quality=Medium mode=Full Image"},
      // Short options, also run together and with their values attached.
      {{"-m", "NK-128", "-o", "out", "-y", "-j", "3", "-q", "a.mp4"},
       "file=a.mp4 model=NK-128 output=out replace jobs=3 quiet"},
      {{"-yqmNK-128", "-oout", "a.mp4"}, "file=a.mp4 model=NK-128 output=out replace quiet"},
      // Options after the files; the last of two contrary ones counts.
      {{"a.mp4", "-y", "b.mp4", "-n", "-v"}, "file=a.mp4 file=b.mp4 keep verbose"},
      {{"--verbose", "--quiet", "a.mp4"}, "file=a.mp4 quiet"},
      // Unique beginnings of long names.
      {{"--mod", "full-image", "a.mp4"}, "error: option '--mod' is ambiguous (--model, --mode)"},
      {{"--qual", "low", "--outp=/o", "a.mp4"}, "file=a.mp4 quality=Low output=/o"},
      // Seconds and MM:SS as well as HH:MM:SS.
      {{"--start", "90", "--end", "2:05", "a.mp4"}, "file=a.mp4 start=00:01:30 end=00:02:05"},
      {{"--files-from", "-", "--files-from=list.txt"}, "list=- list=list.txt"},
      {{"--files-from", "list.txt", "a.mp4", "--json"}, "file=a.mp4 list=list.txt json"},
      {{"-", "--jobs=64"}, "file=- jobs=64"},
      {{"--list-models", "--json"}, "json list-models"},
      {{"--add-silence", "a.mp4"}, "file=a.mp4 add-silence"},
      {{"--help"}, "help"},
      {{"-h"}, "help"},
      {{"--version"}, "version"},
      {{}, "error: no input file given"},
      {{"--json"}, "error: no input file given"},
      {{"--fast", "a.mp4"}, "error: unknown option '--fast'"},
      {{"-x", "a.mp4"}, "error: unknown option '-x'"},
      {{"a.mp4", "--model"}, "error: --model needs a value"},
      {{"a.mp4", "-m"}, "error: -m needs a value"},
      {{"--overwrite=yes", "a.mp4"}, "error: --overwrite takes no value"},
      {{"--quality", "best", "a.mp4"}, "error: --quality takes high, medium or low, not 'best'"},
      {{"--mode", "Full Screen", "a.mp4"}, "error: --mode takes full-screen or full-image, not 'Full Screen'"},
      {{"--end", "1.5", "a.mp4"}, "error: --end takes a time as seconds, MM:SS or HH:MM:SS, not '1.5'"},
      {{"--output=", "a.mp4"}, "error: --output needs a folder"},
      {{"--files-from=", "a.mp4"}, "error: --files-from needs a file"},
      {{"-j", "0", "a.mp4"}, "error: --jobs takes a number from 1 to 64, not '0'"},
      {{"-j", "65", "a.mp4"}, "error: --jobs takes a number from 1 to 64, not '65'"},
      {{"--jobs", "99999999999", "a.mp4"}, "error: --jobs takes a number from 1 to 64, not '99999999999'"},
  };
  for (const auto& row : rows) {
    std::string line;
    for (const std::string& argument : row.arguments) line += " [" + argument + "]";
    EXPECT_EQ(Outcome(row.arguments), row.outcome) << line;
  }
}

TEST(CommandLine, TimesAreSecondsMinutesOrHours) {
  const struct {
    const char* text;
    const char* time;  // nullptr: refused
  } rows[] = {
      {"00:00:00", "00:00:00"}, {"123:59:59", "123:59:59"}, {"0", "00:00:00"},      {"90", "00:01:30"},
      {"3725", "01:02:05"},     {"59:59", "00:59:59"},      {"1:30", "00:01:30"},   {"00:00", "00:00:00"},
      {"00:60:00", nullptr},    {"00:00:60", nullptr},      {"0:0:0", nullptr},     {"60:00", nullptr},
      {"1:5", nullptr},         {"123:00", nullptr},        {"a0:00:00", nullptr},  {"-1:00:00", nullptr},
      {"-5", nullptr},          {"1.5", nullptr},           {"00:00:00:00", nullptr}, {"999999:00:00", nullptr},
      {"999999999", nullptr},   {":30", nullptr},           {"1::30", nullptr},     {"", nullptr},
  };
  for (const auto& row : rows) {
    const std::optional<VIDEO_TIME> time = ParseVideoTime(row.text);
    EXPECT_EQ(time ? FormatVideoTime(*time) : "refused", row.time != nullptr ? row.time : "refused") << row.text;
  }
}

TEST(CommandLine, FileListsNameOneFileOnEachLine) {
  kdxtest::ScratchDir dir;
  std::ofstream(dir.File("list.txt")) << "a.mp4\n\nwith space.avi\n  lead.mkv\nlast.ts";
  std::vector<std::string> files = {"given.mp4"};
  std::string error;
  ASSERT_TRUE(ReadFileList(dir.File("list.txt"), files, &error)) << error;
  EXPECT_EQ(files, (std::vector<std::string>{"given.mp4", "a.mp4", "with space.avi", "  lead.mkv", "last.ts"}));
  EXPECT_FALSE(ReadFileList(dir.File("missing.txt"), files, &error));
  EXPECT_EQ(error, "cannot read the file list '" + dir.File("missing.txt") + "': No such file or directory");
  EXPECT_FALSE(ReadFileList(dir.path(), files, &error));
  EXPECT_EQ(error, "cannot read the file list '" + dir.path() + "': Is a directory");
  EXPECT_EQ(files.size(), 5u);
}

}  // namespace
