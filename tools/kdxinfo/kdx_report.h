// SPDX-License-Identifier: GPL-2.0-or-later
// What kdxinfo tells of a checked file: the human-readable description, or
// the same as members of a JSON object.
#pragma once

#include <ostream>

#include "tools/cli/json_writer.h"
#include "tools/kdxreader/kdx_file.h"

void PrintKdxReport(std::ostream& out, const kdxreader::KdxFile& file);

// Writes "sound", "header", "geometry", "chunk_records" and
// "playing_seconds" into the object being written.
void WriteKdxReport(JsonWriter& json, const kdxreader::KdxFile& file);
