// SPDX-License-Identifier: GPL-2.0-or-later
// Links with paths of an exact length, for the path-length limit.
#pragma once

#include <cstddef>
#include <string>

// Makes a symbolic link to `target` inside `folder` whose whole path has
// exactly `chars` characters and ends in ".mp4", padded with `pad` (one
// character, maybe several bytes) in folders of at most 100 characters so no
// single name grows too long. Returns the link's path.
std::string LinkOfLength(const std::string& folder, std::size_t chars, const std::string& pad,
                         const std::string& target);
