// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/long_path_link.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "converter/core/probe/video_duration.h"

std::string LinkOfLength(const std::string& folder, std::size_t chars, const std::string& pad,
                         const std::string& target) {
  const std::string tail = ".mp4";
  std::string path = folder + "/" + pad;
  std::size_t inName = 1;
  while (Utf8CharCount(path + tail) < chars) {
    if (inName == 100 && Utf8CharCount(path + tail) + 2 < chars) {
      mkdir(path.c_str(), 0755);
      path += "/";
      inName = 0;
    }
    path += pad;
    ++inName;
  }
  path += tail;
  EXPECT_EQ(Utf8CharCount(path), chars);
  EXPECT_EQ(symlink(target.c_str(), path.c_str()), 0) << path;
  return path;
}
