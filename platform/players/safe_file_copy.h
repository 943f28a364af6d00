// Copying a file onto a player so that a failure never costs the copy
// already there: the data goes to a temporary name beside the target, is
// flushed to the device with the folder entry, and only then replaces the
// old file.
#pragma once

#include <string>

// False with errno in *error (when given) on failure; the target is then
// unchanged and no temporary file is left.
bool CopyFileReplacing(const std::string& source, const std::string& target, int* error);
