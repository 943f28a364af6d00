// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/name_rule.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string PartRefusal(std::string_view part) {
  if (part.empty()) return "it has an empty part";
  if (part == "." || part == "..") return "\"" + std::string(part) + "\" would leave its folder";
  return {};
}

}  // namespace

std::string NameRefusal(std::string_view name, NameShape shape) {
  if (name.empty()) return "the name is empty";
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7f) return "the name holds a control character";
  }
  if (IsSeparator(name.front())) return "an absolute path is not allowed";
  std::size_t begin = 0;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && !IsSeparator(name[i])) continue;
    if (i < name.size() && shape == NameShape::kOneComponent) return "the name may not contain / or \\";
    if (std::string refused = PartRefusal(name.substr(begin, i - begin)); !refused.empty()) return refused;
    begin = i + 1;
  }
  return {};
}
