// SPDX-License-Identifier: GPL-2.0-or-later
// Reads back what the time-line clips carry (tests/media/make_test_media.sh):
// the number each picture shows in its bars and where the sound's beeps
// begin.
#pragma once

#include <vector>

#include "tools/kdxreader/jpeg_picture.h"
#include "tools/kdxreader/kdx_file.h"

namespace kdxtest {

// The number + 1 drawn into the frame as nine bars: 0 for a black frame,
// -1 when a bar is neither dark nor bright.
int PictureCode(const kdxreader::Picture& frame);
// The code of every frame of the file, in playing order.
std::vector<int> PictureCodes(const kdxreader::KdxFile& file);
// Where in the sound part a beep begins after at least 0.3 s of quiet, in
// seconds of the output.
std::vector<double> BeepOnsets(const kdxreader::KdxFile& file);

}  // namespace kdxtest
