// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/output_name.h"

#include <algorithm>
#include <cctype>

#include "converter/core/support/path_utils.h"

namespace {

constexpr char kKdxExtension[] = ".kdx";

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

}  // namespace

std::string WithKdxExtension(const std::string& name) {
  const std::string extension = kKdxExtension;
  if (name.size() >= extension.size() && Lower(name.substr(name.size() - extension.size())) == extension) return name;
  return name + extension;
}

bool SameOutputName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

std::string DistinctOutputName(const std::string& name, const OutputNameTaken& taken) {
  if (!taken(name)) return name;
  const std::string base = GetFileBaseName(name);
  for (int number = 2;; ++number) {
    std::string candidate = base + " (" + std::to_string(number) + ")" + kKdxExtension;
    if (!taken(candidate)) return candidate;
  }
}
