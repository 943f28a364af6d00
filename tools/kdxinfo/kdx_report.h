// The human-readable description kdxinfo prints for a checked file.
#pragma once

#include <ostream>

#include "tools/kdxreader/kdx_file.h"

void PrintKdxReport(std::ostream& out, const kdxreader::KdxFile& file);
