// SPDX-License-Identifier: GPL-2.0-or-later
// Version numbers of system files, as their version resources state them.
#pragma once

#include <cstdint>

#include "platform/base/platform_types.h"

// A.B.C.D as one number: A and B in the high double word, C and D in the
// low one, so versions compare as plain unsigned numbers.
constexpr uint64_t MakeFileVersion(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
  return static_cast<uint64_t>(a) << 48 | static_cast<uint64_t>(b) << 32 | static_cast<uint64_t>(c) << 16 | d;
}

// The first of the four numbers.
constexpr uint16_t FileVersionFirstNumber(uint64_t version) { return static_cast<uint16_t>(version >> 48); }

// E_INVALIDARG for a null path or output; E_FAIL for a file without a
// version resource or without fixed file information in it.
HRESULT GetFileVersion(const char* path, uint64_t* version);
