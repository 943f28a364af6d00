// SPDX-License-Identifier: GPL-2.0-or-later
// The input files named in a list file (--files-from), one on each line.
#pragma once

#include <string>
#include <vector>

// Appends the names in the file at `path` ("-": standard input), leaving out
// empty lines; false with *error saying why when it cannot be read.
bool ReadFileList(const std::string& path, std::vector<std::string>& files, std::string* error);
