// SPDX-License-Identifier: GPL-2.0-or-later
// Reading back a converted file for the tests.
#pragma once

#include <string>
#include <vector>

#include "tools/kdxreader/chunk_frames.h"
#include "tools/kdxreader/kdx_file.h"
#include "kdx.h"

namespace kdxtest {

// Loads and validates a KDX file; fails the test with the reader's message.
kdxreader::KdxFile LoadValid(const std::string& path);

// Converts the clip with the request and returns the validated file; the
// messages of the run must be those of a clean run. *duration gets the
// source's duration in seconds.
kdxreader::KdxFile ConvertCleanly(const std::string& clip, const TRANSCODER_PARAM& request,
                                  double* duration = nullptr);

// Every frame of the file (N of them), top-down RGB.
std::vector<kdxreader::Picture> AllFrames(const kdxreader::KdxFile& file);

struct ReferenceFrame {
  double time = 0.0;  // seconds
  kdxreader::Picture picture;
};

// Frames of a clip as ffmpeg decodes them, with their times, passed through
// the filter (such as a crop; "null" for none), then shrunk to width x
// height by averaging the area of each pixel, top-down RGB: the picture a
// faithful scaler gives.
std::vector<ReferenceFrame> ReferenceFrames(const std::string& clip, const std::string& filter, int width,
                                            int height);

// The frame hook the converter installs: the linear scaling filter.
void LinearScaleHook(unsigned int image);

// Peak signal-to-noise ratio of the luma of two pictures of the same size,
// in dB. Luma, because the JPEG pictures halve the colour resolution.
double LumaPsnr(const kdxreader::Picture& a, const kdxreader::Picture& b);

}  // namespace kdxtest
