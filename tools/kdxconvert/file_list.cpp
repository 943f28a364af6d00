// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/file_list.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>

namespace {

void AppendLines(std::istream& in, std::vector<std::string>& files) {
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty()) files.push_back(line);
  }
}

}  // namespace

bool ReadFileList(const std::string& path, std::vector<std::string>& files, std::string* error) {
  if (path == "-") {
    AppendLines(std::cin, files);
    return true;
  }
  struct stat status {};
  errno = 0;
  if (stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) errno = EISDIR;
  std::ifstream in;
  if (errno == 0) in.open(path);
  if (errno != 0 || !in) {
    *error = "cannot read the file list '" + path + "': " + std::strerror(errno != 0 ? errno : EIO);
    return false;
  }
  AppendLines(in, files);
  return true;
}
