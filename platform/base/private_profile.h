// SPDX-License-Identifier: GPL-2.0-or-later
// Private-profile settings files: "[Section]" headers followed by
// "Key=Value" lines. Section and key names match without regard to letter
// case; white space around names and values is ignored, and a value wrapped
// in matching quotes loses them. Files written here stay readable by any
// reader of that format.
#pragma once

#include <string>
#include <utility>
#include <vector>

// Where a settings file of the given name lives: $NKDX_CONFIG_DIR, else
// $XDG_CONFIG_HOME, else ~/.config; empty when there is no home folder.
std::string ProfileFilePath(const std::string& fileName);

// The value of section/key, or defaultValue when the file, section or key is missing.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& filePath);

// A settings file larger than this is not read (its keys give their
// defaults) nor replaced by a save: no settings file of ours grows so large.
inline constexpr long kLargestProfileFile = 1 << 20;
bool IsProfileTooLarge(const std::string& filePath);

// The value read as a decimal integer (leading digits, optional sign), or
// defaultValue when the key is missing or its number overflows an int. A
// value holding a NUL character counts as missing, for strings too.
int GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                         const std::string& filePath);

// Sets section/key to value, adding the section or key when missing and
// keeping every other line as it was. The file is replaced in one step, so a
// failed write leaves the old file whole; it keeps its mode, and a symbolic
// link stays a link whose target gets the new text. The file is locked from
// its reading to its replacement, so programs saving at once keep each
// other's changes. False when it cannot be written or when a name or the
// value holds a line break (or the section a ']', the key a '='), and for a
// file too large to be read.
bool WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& filePath);

// Key=Value pairs of one section.
using ProfileEntries = std::vector<std::pair<std::string, std::string>>;

// Sets several keys of one section in one locked read and one write, as
// WritePrivateProfileString does for one; nothing is written when any name
// or value is refused.
bool WritePrivateProfileStrings(const std::string& section, const ProfileEntries& entries,
                                const std::string& filePath);
