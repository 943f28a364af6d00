// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/name_rule.h"

#include <gtest/gtest.h>

namespace {

struct NameCase {
  const char* name;
  NameShape shape;
  bool allowed;
};

TEST(NameRefusal, KeepsNamesInsideTheirFolder) {
  const NameCase cases[] = {
      {"NK-128", NameShape::kOneComponent, true},
      {"holiday 2024.kdx", NameShape::kOneComponent, true},
      {"..hidden", NameShape::kOneComponent, true},
      {"VIDEO\\KDX", NameShape::kRelativePath, true},
      {"VIDEO/KDX", NameShape::kRelativePath, true},
      {"", NameShape::kOneComponent, false},
      {"..", NameShape::kOneComponent, false},
      {".", NameShape::kOneComponent, false},
      {"../../escaped", NameShape::kOneComponent, false},
      {"sub/inner.kdx", NameShape::kOneComponent, false},
      {"sub\\inner.kdx", NameShape::kOneComponent, false},
      {"..\\..\\..\\tmp\\x", NameShape::kRelativePath, false},
      {"VIDEO/../..", NameShape::kRelativePath, false},
      {"/tmp/x", NameShape::kRelativePath, false},
      {"\\tmp", NameShape::kRelativePath, false},
      {"VIDEO//KDX", NameShape::kRelativePath, false},
      {"VIDEO/", NameShape::kRelativePath, false},
      {"NK\x1b[31m", NameShape::kOneComponent, false},
      {"line\nbreak", NameShape::kRelativePath, false},
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(NameRefusal(c.name, c.shape).empty(), c.allowed) << '"' << c.name << '"';
  }
}

}  // namespace
