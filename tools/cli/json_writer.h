// SPDX-License-Identifier: GPL-2.0-or-later
// Writes one JSON value as compact text: objects, arrays, strings, numbers,
// true, false and null, with the commas between members put in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
 public:
  JsonWriter& BeginObject() { return Open('{'); }
  JsonWriter& EndObject() { return Close('}'); }
  JsonWriter& BeginArray() { return Open('['); }
  JsonWriter& EndArray() { return Close(']'); }
  // The name of the next member of the object being written.
  JsonWriter& Key(std::string_view name);

  // Bytes that are not UTF-8 (a file name may hold any) become U+FFFD, so
  // the text stays valid JSON.
  JsonWriter& String(std::string_view text);
  // null for an empty text: a value that is not known.
  JsonWriter& StringOrNull(std::string_view text);
  JsonWriter& Integer(int64_t value);
  // The shortest text that reads back as `value`; null when not finite.
  JsonWriter& Number(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& text() const { return m_text; }

 private:
  JsonWriter& Open(char bracket);
  JsonWriter& Close(char bracket);
  void BeforeValue();

  std::string m_text;
  // For each open object or array: whether a member was written yet.
  std::vector<bool> m_hasMembers;
  bool m_afterKey = false;
};

// `text` as a JSON string, quotes included.
std::string JsonString(std::string_view text);
