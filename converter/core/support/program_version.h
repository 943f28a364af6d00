// SPDX-License-Identifier: GPL-2.0-or-later
// The programs' version and what each of them prints for --version.
#pragma once

#include <string>

// "1.4.2.0"
std::string ProgramVersion();

// The --version text of `program`: its name and version, the copyright and
// the licence, one line each.
std::string VersionText(const std::string& program);
