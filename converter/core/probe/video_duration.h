// SPDX-License-Identifier: GPL-2.0-or-later
// Playing time of a source file, read with libavformat before the file is
// queued or converted. Free of any user interface so command-line tools can
// use it.
#pragma once

#include <cstddef>
#include <string>

// Paths of this many characters or more are refused by the preview, as the
// program refused them everywhere once.
inline constexpr std::size_t kMaxSourcePathChars = 260;

// Number of characters (not bytes) of UTF-8 text.
std::size_t Utf8CharCount(const std::string& text);

// Sets *seconds to the source's playing time and returns true: the
// container's stated length, else the first stream's that states one, else
// the length found by reading the packets' times to the end. MPEG program
// and transport streams are always read through, since recordings joined
// end to end restart their clock and state only their first part's length.
// Returns false with *seconds 0 for a missing path, something other than a
// regular file (a pipe would block the caller), a file libavformat cannot
// open or read, or one without any timed packet. Failures go to the trace
// log only.
bool ReadVideoDuration(const std::string& path, double* seconds);
