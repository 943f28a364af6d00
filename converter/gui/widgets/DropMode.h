// SPDX-License-Identifier: GPL-2.0-or-later
// Which dropped paths the file list takes, and what it does with them.
#pragma once

#include <QString>
#include <functional>

class CFileDropListCtrl;

// Kinds of accepted paths handed to the callback.
enum DropKind { DL_FOLDER_TYPE = 64, DL_FILE_TYPE = 128 };

// Called for each accepted path instead of inserting it (flag DL_USE_CALLBACK).
using DropCallback = std::function<void(CFileDropListCtrl& list, const QString& path, DropKind kind)>;
// Told of each dropped path the mode refuses, as it was dropped, so the owner
// can say why instead of dropping it silently.
using DropRefusal = std::function<void(CFileDropListCtrl& list, const QString& droppedPath)>;

struct DropMode {
  enum Flags : unsigned {
    DL_ACCEPT_FILES = 0x01,
    DL_ACCEPT_FOLDERS = 0x02,
    DL_ALLOW_DUPLICATES = 0x04,
    DL_FILTER_EXTENSION = 0x10,
    DL_USE_CALLBACK = 0x20,
  };

  unsigned iMask = DL_ACCEPT_FILES | DL_ACCEPT_FOLDERS;
  QString csFileExt;  // e.g. ".avi .mpg .mp4"
  DropCallback pfnCallback;
  DropRefusal pfnRefused;  // optional

  // A mode that hands paths to a callback it does not have is unusable.
  bool IsUsable() const { return !(iMask & DL_USE_CALLBACK) || pfnCallback != nullptr; }
};

// The final path to work with for a dropped path: a symbolic link gives way
// to its final target; an empty result means the target cannot be found.
QString ResolveDroppedPath(const QString& path);

// What the mode makes of a dropped path (already resolved): 0 when refused.
// The extension test is a substring test of the lower-cased extension (dot
// included) in the lower-cased filter, so a name without extension passes.
int ClassifyDroppedPath(const DropMode& mode, const QString& path);
