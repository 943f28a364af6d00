// SPDX-License-Identifier: GPL-2.0-or-later
// The model names a device table lists, read straight from its text.
#pragma once

#include <regex>
#include <string>
#include <vector>

#include "tests/support/test_paths.h"

namespace kdxtest {

inline std::vector<std::string> ModelNames(const std::string& table) {
  std::string text = ReadFile(table);
  std::regex modelName("<ModelName>([^<]*)</ModelName>");
  std::vector<std::string> names;
  for (std::sregex_iterator it(text.begin(), text.end(), modelName), end; it != end; ++it) names.push_back((*it)[1]);
  return names;
}

}  // namespace kdxtest
