// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/support/program_version.h"

std::string ProgramVersion() { return KDX_PROGRAM_VERSION; }

std::string VersionText(const std::string& program) {
  return program + " (Norvik KDX Video Converter) " + ProgramVersion() +
         "\n"
         "Copyright (C) 2026 Norvik KDX Video Converter developers\n"
         "License GPL-2.0-or-later: GNU GPL version 2 or later <https://www.gnu.org/licenses/old-licenses/gpl-2.0.html>\n"
         "This is free software: you are free to change and redistribute it.\n"
         "There is NO WARRANTY, to the extent permitted by law.\n";
}
