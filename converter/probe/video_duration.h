// Playing time of a source file before it joins the conversion list, read with
// libavformat. Free of any user interface so command-line tools can use it.
#pragma once

#include <cstddef>
#include <string>

// Paths of this many characters or more are refused, as the program refuses
// them everywhere.
inline constexpr std::size_t kMaxSourcePathChars = 260;

// Number of characters (not bytes) of UTF-8 text.
std::size_t Utf8CharCount(const std::string& text);

// Sets *seconds to the length of the first stream whose length is known and
// returns true; an audio stream that comes first gives the duration. Returns
// false with *seconds 0 for a path that is too long, a missing file, a file
// libavformat cannot open or read, or one without any stream length. Failures
// go to the trace log only.
bool ReadVideoDuration(const std::string& path, double* seconds);
