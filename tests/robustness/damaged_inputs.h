// SPDX-License-Identifier: GPL-2.0-or-later
// Damaged copies of the test clips, and the other things a user may hand
// the converter by mistake, made in a folder at test time.
#pragma once

#include <string>
#include <vector>

namespace kdxtest {

struct DamagedInput {
  std::string label;  // what was done, for failure messages
  std::string path;
};

// Copies of the clip cut after 512 and 4096 bytes (little more than the
// container's header), at 10%, 50% and 90%, and copies with bytes flipped
// in the first kilobyte and around the middle. The flips come from a fixed
// seed, so every run tries the same files.
std::vector<DamagedInput> DamagedCopies(const std::string& clip, const std::string& folder);

// Inputs that are no video at all: an empty file, random bytes named .avi
// and .mp4, a folder, a missing file, a path below a copy of the clip, a
// pipe with no writer, and (when permissions apply to this user) a copy of
// the clip nobody may read.
std::vector<DamagedInput> NonVideoInputs(const std::string& clip, const std::string& folder);

}  // namespace kdxtest
