// SPDX-License-Identifier: GPL-2.0-or-later
// Which conversion requests the library can turn into a correct file.
#pragma once

#include "kdx.h"

namespace kdx {

// False for a request whose frame size, frame rate or data rate the KDX
// header cannot hold, or whose data rate in bytes would not fit an int.
// Every size and rate the converter asks for is accepted.
bool IsRequestAcceptable(const TRANSCODER_PARAM& request);

}  // namespace kdx
