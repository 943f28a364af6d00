// SPDX-License-Identifier: GPL-2.0-or-later
// Opening folders in places other users can write to. A symbolic link that
// another user planted in a shared folder (a 1777 output folder) is not
// followed, whatever the system's protected_symlinks setting: root would
// otherwise write wherever that user's link points.
#pragma once

#include <sys/stat.h>

#include <string>

// True when a link may be followed: it belongs to the running user or to
// root, or it lies in a folder only its owner can write to.
bool IsTrustedLink(const struct stat& link, const struct stat& holder);

// Opens `path` as a folder one part at a time and returns its descriptor
// (close-on-exec; read-only where the folder can be read, else a path
// descriptor), or -1 with errno set. With `create`, missing parts are made
// (mode 0777 less the umask). A part that is a link failing IsTrustedLink
// stops the walk with EACCES, and *untrustedLink (when given) names it.
int OpenFolderNoForeignLinks(const std::string& path, bool create, std::string* untrustedLink = nullptr);
