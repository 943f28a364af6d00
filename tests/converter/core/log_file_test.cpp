// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/log_file.h"

#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "converter/core/support/ffmpeg_messages.h"
#include "tests/converter/core/test_env.h"

extern "C" {
#include <libavutil/log.h>
}

namespace {

const std::regex kStampedLine(R"(\d{4}/\d\d/\d\d  \d\d:\d\d:\d\d:\d\d\d  (.*))");

std::string TextOf(const std::string& line) {
  std::smatch match;
  if (!std::regex_match(line, match, kStampedLine)) return "<no time stamp: " + line + ">";
  return match[1];
}

TEST(LogFile, TimeStampLayout) {
  std::tm local{};
  local.tm_year = 2007 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 5;
  local.tm_hour = 9;
  local.tm_min = 4;
  local.tm_sec = 7;
  EXPECT_EQ(FormatLogTimeStamp(local, 45), "2007/03/05  09:04:07:045");
}

TEST(LogFile, AppendsStampedLinesWithArgumentsAndKeepsEarlierOnes) {
  ScratchLog log;
  WriteLog("first %d %s", 42, "clip.avi");
  WriteLog("second");
  auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(TextOf(lines[0]), "first 42 clip.avi");
  EXPECT_EQ(TextOf(lines[1]), "second");
  EXPECT_EQ(log.Text().find('\r'), std::string::npos) << "lines end in LF only";
}

// The formats under test are made at run time, as the long ones must be.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
TEST(LogFile, FormatsOf230CharactersOrMoreAreReplaced) {
  ScratchLog log;
  std::string longest(229, 'a');
  WriteLog("%s", (longest + "%").c_str());  // the limit counts the format, not the expanded text
  WriteLog(longest.c_str());
  WriteLog((longest + "b").c_str());
  // Characters, not bytes: 229 two-byte letters still fit.
  std::string umlauts;
  for (int i = 0; i < 229; ++i) umlauts += "\xC3\xBC";
  WriteLog(umlauts.c_str());
  auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(TextOf(lines[0]), longest + "%");
  EXPECT_EQ(TextOf(lines[1]), longest);
  EXPECT_EQ(lines[2], "text too long: 230");
  EXPECT_EQ(TextOf(lines[3]), umlauts);
}
#pragma GCC diagnostic pop

TEST(LogFile, ErrorLinesTakeTheMessageLiterally) {
  ScratchLog log;
  WriteErrorLog("Failed to put %s filename %d", "src/probe.cpp", 17);
  WriteErrorLog(std::string(220, 'x'), "src/probe.cpp", 17);  // whole error text over the limit
  auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(TextOf(lines[0]), "Error (src/probe.cpp 17): Failed to put %s filename %d");
  EXPECT_EQ(lines[1], "text too long: " + std::to_string(std::string("Error (src/probe.cpp 17): ").size() + 220));
}

TEST(LogFile, FfmpegWarningsAndNamesStayOnOneLineEach) {
  ScratchLog log;
  SendFfmpegMessagesToTraceLog();
  for (int repeat = 0; repeat < 3; ++repeat) av_log(nullptr, AV_LOG_WARNING, "damaged picture %d\n", 7);
  av_log(nullptr, AV_LOG_INFO, "only information\n");
  av_log(nullptr, AV_LOG_ERROR, "damaged header\n");
  WriteLog("converting %s", "two\nlines.avi");
  av_log_set_callback(av_log_default_callback);
  const std::vector<std::string> lines = log.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(TextOf(lines[0]), "FFmpeg: damaged picture 7");
  EXPECT_EQ(TextOf(lines[1]), "FFmpeg: damaged header");
  EXPECT_EQ(TextOf(lines[2]), "converting two\\nlines.avi");
}

TEST(LogFile, ConcurrentWritersNeverMixLines) {
  ScratchLog log;
  std::vector<std::thread> writers;
  for (int t = 0; t < 4; ++t) {
    writers.emplace_back([t] {
      for (int i = 0; i < 50; ++i) WriteLog("writer %d line %d %s", t, i, std::string(100, 'a' + t).c_str());
    });
  }
  for (auto& w : writers) w.join();
  auto lines = log.Lines();
  ASSERT_EQ(lines.size(), 200u);
  const std::regex whole(R"(writer (\d) line \d+ ([a-d])\2{99})");
  for (const auto& line : lines) EXPECT_TRUE(std::regex_match(TextOf(line), whole)) << line;
}

TEST(LogFile, UnwritableLogIsIgnoredAndDefaultLocationFollowsXdg) {
  kdxtest::ScratchDir dir;
  {
    ScopedEnv unwritable("NKDX_LOG_FILE", dir.path().c_str());  // a folder cannot be opened as the log
    WriteLog("lost line");
    WriteErrorLog("lost error", "x.cpp", 1);
  }
  {
    ScopedEnv noOverride("NKDX_LOG_FILE", nullptr);
    ScopedEnv state("XDG_STATE_HOME", dir.path().c_str());
    EXPECT_EQ(LogFilePath(), dir.path() + "/norvik-kdx/Pxrc_log.txt");
    WriteLog("made its folder");
  }
  std::ifstream in(dir.path() + "/norvik-kdx/Pxrc_log.txt");
  std::string line;
  ASSERT_TRUE(std::getline(in, line));
  EXPECT_EQ(TextOf(line), "made its folder");
}

}  // namespace
