// SPDX-License-Identifier: GPL-2.0-or-later
// Text for a terminal or a one-line record: file names may hold line
// breaks, control characters or bytes that are no UTF-8 at all.
#pragma once

#include <string>

// The text with every control character and every byte that is not part of
// valid UTF-8 written as an escape ("\n", "\t", "\x1b", "\xff"), so it
// stays on one line and cannot steer the terminal; other characters,
// non-ASCII ones included, stay as they are.
std::string PrintableText(const std::string& text);
