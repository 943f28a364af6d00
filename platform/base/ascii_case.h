// SPDX-License-Identifier: GPL-2.0-or-later
// Letter case of identifiers (hexadecimal ids, device paths): ASCII only,
// whatever the locale.
#pragma once

#include <string>

inline std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

inline std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}
