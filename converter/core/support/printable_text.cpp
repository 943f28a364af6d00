// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/printable_text.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 character at text[at], 0 when none starts
// there (overlong forms, surrogates and code points past U+10FFFF included).
size_t Utf8Length(const std::string& text, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  size_t length = 0;
  unsigned least = 0;
  unsigned value = 0;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2, least = 0x80, value = first & 0x1F;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3, least = 0x800, value = first & 0x0F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4, least = 0x10000, value = first & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  return length;
}

std::string Escape(unsigned char byte) {
  switch (byte) {
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default: {
      char text[8];
      std::snprintf(text, sizeof text, "\\x%02x", byte);
      return text;
    }
  }
}

}  // namespace

std::string PrintableText(const std::string& text) {
  std::string printable;
  printable.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    const unsigned char byte = static_cast<unsigned char>(text[at]);
    if (byte >= 0x20 && byte < 0x7F) {
      printable += text[at++];
      continue;
    }
    const size_t length = byte >= 0x80 ? Utf8Length(text, at) : 0;
    // U+0080..U+009F are control characters too (a terminal may take
    // U+009B for the start of a command).
    const bool control = length == 2 && byte == 0xC2 && static_cast<unsigned char>(text[at + 1]) < 0xA0;
    if (length == 0 || control) {
      for (size_t i = 0; i < (control ? 2 : 1); ++i) printable += Escape(static_cast<unsigned char>(text[at + i]));
      at += control ? 2 : 1;
      continue;
    }
    printable.append(text, at, length);
    at += length;
  }
  return printable;
}
