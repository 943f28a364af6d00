// SPDX-License-Identifier: GPL-2.0-or-later
// The user's home folder, for the files the programs keep there.
#pragma once

#include <string>

// $HOME, or where the password database puts the user's home when HOME is
// unset or not an absolute path; empty when neither names a folder other
// than "/", so nothing is ever written at the top of the file system.
std::string HomeFolder();
