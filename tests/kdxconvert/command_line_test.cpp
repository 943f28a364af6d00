#include "tools/kdxconvert/command_line.h"

#include <gtest/gtest.h>

#include "converter/core/request/conversion_options.h"

namespace {

ConvertOptions Parse(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed = ParseCommandLine(arguments);
  EXPECT_TRUE(parsed.options.has_value()) << parsed.error;
  return parsed.options.value_or(ConvertOptions{});
}

std::string ErrorOf(const std::vector<std::string>& arguments) {
  ParsedCommandLine parsed = ParseCommandLine(arguments);
  EXPECT_FALSE(parsed.options.has_value());
  return parsed.error;
}

TEST(CommandLine, DefaultsLeaveModelModeRangeAndOutputOpen) {
  ConvertOptions o = Parse({"a.mp4", "b.avi"});
  EXPECT_EQ(o.files, (std::vector<std::string>{"a.mp4", "b.avi"}));
  EXPECT_EQ(o.quality, kQualityHigh);
  EXPECT_FALSE(o.model || o.videoMode || o.start || o.end || o.outputFolder);
  EXPECT_FALSE(o.overwrite || o.addSilence || o.listModels || o.help);
}

TEST(CommandLine, ReadsEveryOptionInBothSpellings) {
  ConvertOptions o = Parse({"--model", "NK-96", "--quality=low", "--mode", "full-screen", "--start=00:01:05",
                            "--end", "1:02:03", "--output", "/out", "--overwrite", "--add-silence", "--", "--odd name.mp4"});
  EXPECT_EQ(o.model, "NK-96");
  EXPECT_EQ(o.quality, kQualityLow);
  EXPECT_EQ(o.videoMode, kModeFullScreen);
  EXPECT_EQ(VideoTimeToSeconds(*o.start), 65);
  EXPECT_EQ(VideoTimeToSeconds(*o.end), 3723);
  EXPECT_EQ(o.outputFolder, "/out");
  EXPECT_TRUE(o.overwrite && o.addSilence);
  EXPECT_EQ(o.files, (std::vector<std::string>{"--odd name.mp4"}));
  EXPECT_EQ(Parse({"--quality", "medium", "--mode", "full-image", "x"}).quality, kQualityMedium);
  EXPECT_TRUE(Parse({"--list-models"}).listModels);
  EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(CommandLine, RejectsWhatItCannotUse) {
  EXPECT_EQ(ErrorOf({}), "no input file given");
  EXPECT_EQ(ErrorOf({"--fast", "a.mp4"}), "unknown option '--fast'");
  EXPECT_EQ(ErrorOf({"a.mp4", "--model"}), "--model needs a value");
  EXPECT_NE(ErrorOf({"--quality", "best", "a.mp4"}).find("high, medium or low"), std::string::npos);
  EXPECT_NE(ErrorOf({"--mode", "Full Screen", "a.mp4"}).find("full-screen or full-image"), std::string::npos);
  EXPECT_NE(ErrorOf({"--end", "90", "a.mp4"}).find("HH:MM:SS"), std::string::npos);
  EXPECT_EQ(ErrorOf({"--output=", "a.mp4"}), "--output needs a folder");
}

TEST(CommandLine, TimesAreHoursMinutesSeconds) {
  EXPECT_EQ(FormatVideoTime(*ParseVideoTime("00:00:00")), "00:00:00");
  EXPECT_EQ(FormatVideoTime(*ParseVideoTime("123:59:59")), "123:59:59");
  for (const char* bad : {"00:60:00", "00:00:60", "0:0:0", "00:00", "a0:00:00", "-1:00:00", "00:00:00:00",
                          "999999:00:00", ""}) {
    EXPECT_FALSE(ParseVideoTime(bad).has_value()) << bad;
  }
}

}  // namespace
