// SPDX-License-Identifier: GPL-2.0-or-later
// Small path and file helpers shared by the converter and its command line.
// Paths are UTF-8 with '/' separators.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/base/platform_types.h"

// Creates every missing folder of `path`. When the last part looks like a
// file name (it has an extension, or the path has no separator at all) it is
// taken for a file and only its folders are made; end the path with '/' to
// have such a name created as a folder. False with errno in *error when a
// folder cannot be made (an existing folder is fine, a file in its place
// fails with ENOTDIR). A part that is a link another user planted in a
// shared folder is not followed: EACCES, and *untrustedLink names it.
bool CreateDirectoryTree(const std::string& path, int* error, std::string* untrustedLink = nullptr);

// True when something exists at the path (a link counts as what it points to).
bool FileExists(const std::string& path);

// True when the path names a file: an existing non-folder, or, when nothing
// exists there, a name whose last part carries a dot or that has no '/'.
bool IsFilePath(const std::string& path);

// True for the file-system root "/".
bool IsExistingDriveRoot(const std::string& path);

// Folder of the running program, ending in '/'; empty when it cannot be told.
std::string GetModuleFolder();

// The device table's file name; where it lies marks the program's data folder.
inline constexpr char kDeviceTableFileName[] = "TesselDeviceConfig.xml";

// Folder of the program's data files (device table, player pictures, help
// page), ending in '/': the program's own folder when the device table is
// there, as in the build tree; else ../share/norvik-kdx beside it when the
// table is there, as after installation; else the program's own folder, so
// that a missing file is looked for, and reported, beside the program.
std::string GetDataFolder();
// The same choice for a given program folder ending in '/'.
std::string FindDataFolder(const std::string& programFolder);

// Low 32 bits of a regular file's size; 0xFFFFFFFF when it cannot be opened.
uint32_t GetFileSizeOf(const std::string& path);

// The part after the last '/', or the whole path.
std::string GetFileName(const std::string& path);
// The file name without its last extension; a leading dot is kept (".hidden").
std::string GetFileBaseName(const std::string& path);
// The text after the last dot anywhere in the path; empty without a dot.
std::string GetFileExtension(const std::string& path);

// Copies source into destination (at most maximum - 1 bytes, never splitting
// a character, then a terminator) and returns destination; returns null and
// leaves destination alone when source is null or empty or maximum is 0.
char* CopyIfNotEmpty(char* destination, const char* source, size_t maximum);

// Decodes UTF-8 text. E_INVALIDARG for null arguments; 0x80070459 (no
// Unicode translation) for malformed text, leaving *out untouched.
HRESULT AnsiToWide(const char* text, std::wstring* out);
