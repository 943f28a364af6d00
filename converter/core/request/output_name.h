// SPDX-License-Identifier: GPL-2.0-or-later
// Output names as users type them and as new rows get them: always a KDX
// file's name, and never one that another row of the list writes.
#pragma once

#include <functional>
#include <string>

// The name with ".kdx" appended unless it already ends so (in any case).
std::string WithKdxExtension(const std::string& name);

// Whether another row already writes a file of that name.
using OutputNameTaken = std::function<bool(const std::string& name)>;

// The name itself when it is free, else the first free "base (2).kdx",
// "base (3).kdx", ... Names are compared without regard to letter case,
// since a player's FAT volume treats "Clip.kdx" and "clip.kdx" as one file.
std::string DistinctOutputName(const std::string& name, const OutputNameTaken& taken);

// Whether two output names name one file on a player.
bool SameOutputName(const std::string& a, const std::string& b);
