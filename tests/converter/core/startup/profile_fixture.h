// SPDX-License-Identifier: GPL-2.0-or-later
// A compatibility profile and a scratch trace log for the length of a test.
#pragma once

#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "tests/converter/core/test_env.h"

class ScopedProfile {
 public:
  explicit ScopedProfile(const std::string& text)
      : path_(dir_.File("profile.ini")), env_("NKDX_COMPAT_PROFILE", path_.c_str()) {
    std::ofstream(path_) << text;
  }

 private:
  kdxtest::ScratchDir dir_;
  std::string path_;
  ScopedEnv env_;
};

// The texts of the log's lines without their time stamps; error lines keep
// "Error: " and their message, without the unit and line.
inline std::vector<std::string> LoggedTexts(const ScratchLog& log) {
  static const std::regex stamped(R"(\d{4}/\d\d/\d\d  \d\d:\d\d:\d\d:\d\d\d  (.*))");
  static const std::regex error(R"(Error \(\S+ \d+\): (.*))");
  std::vector<std::string> texts;
  for (const std::string& line : log.Lines()) {
    std::smatch match;
    std::string text = std::regex_match(line, match, stamped) ? match[1].str() : "<unstamped> " + line;
    if (std::regex_match(text, match, error)) text = "Error: " + match[1].str();
    texts.push_back(text);
  }
  return texts;
}
