// SPDX-License-Identifier: GPL-2.0-or-later
// Names that come from outside the program (the device table's model names
// and target folders, the output names users type) become parts of paths.
// One rule keeps them inside the folder they are meant for.
#pragma once

#include <string>
#include <string_view>

enum class NameShape {
  kOneComponent,   // a file or folder name: no separator at all
  kRelativePath,   // plain components joined by '/' or '\'
};

// Why the name may not be used as that shape, or an empty string when it
// may: empty names and parts, "." and "..", absolute paths, and control
// characters are refused.
std::string NameRefusal(std::string_view name, NameShape shape);
