// SPDX-License-Identifier: GPL-2.0-or-later
// Writes every frame stored in a KDX file's chunks as a PNG picture.
#pragma once

#include <string>

#include "tools/kdxreader/kdx_file.h"

// Frames go to "folder" (made when missing) as frame_000000.png and on, in
// playing order. Returns an empty string, or what went wrong.
std::string ExportFramePngs(const kdxreader::KdxFile& file, const std::string& folder, size_t* written);
