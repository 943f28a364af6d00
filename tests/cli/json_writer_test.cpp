// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/cli/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// File names may hold any byte but a slash: what reaches the JSON must be
// valid text that reads back as the name wherever the name is UTF-8.
TEST(JsonWriter, StringsStayValidJsonWhateverTheBytes) {
  const struct {
    std::string text;
    std::string json;
  } rows[] = {
      {"clip.mp4", R"("clip.mp4")"},
      {"say \"hi\" \\ bye", R"("say \"hi\" \\ bye")"},
      {"a\nb\tc\x01\x1f\x7f", R"("a\nb\tc\u0001\u001f\u007f")"},
      {"Fähre 😀.mkv", "\"Fähre 😀.mkv\""},
      {"bad\xff.avi", "\"bad\xEF\xBF\xBD.avi\""},
      {"cut\xE2\x82", "\"cut\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"overlong\xC0\xAF", "\"overlong\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"surrogate\xED\xA0\x80", "\"surrogate\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {"beyond\xF4\x90\x80\x80", "\"beyond\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\""},
      {std::string("nul\0in", 6), R"("nul\u0000in")"},
  };
  for (const auto& row : rows) EXPECT_EQ(JsonString(row.text), row.json) << row.text;
}

TEST(JsonWriter, PutsCommasBetweenMembersAtEveryDepth) {
  JsonWriter json;
  json.BeginObject().Key("files").BeginArray();
  json.BeginObject().Key("seconds").Number(1.25).Key("reason").StringOrNull("").EndObject();
  json.Integer(-3).Bool(false).Number(std::nan("")).EndArray();
  json.Key("empty").BeginObject().EndObject().Key("last").Number(0.1).EndObject();
  EXPECT_EQ(json.text(), R"({"files":[{"seconds":1.25,"reason":null},-3,false,null],"empty":{},"last":0.1})");
}

}  // namespace
