// SPDX-License-Identifier: GPL-2.0-or-later
// The questions the batch asks before it writes a converted file.
#pragma once

#include <string>

class QWidget;

// How long the overwrite question waits before it answers OK by itself.
inline constexpr unsigned kOverwriteQuestionTimeoutMs = 60000;

// "The <folder> folder does not exist, do you want to create it?"; true for Yes.
bool AskToCreateFolder(QWidget* owner, const std::string& folder);

// Whether an existing converted file may be replaced; OK and the time-out
// agree, Cancel refuses. Agreeing changes no file: the finished file takes
// the name by a rename, which replaces a read-only file, and a link as the
// link itself.
bool AskToOverwrite(QWidget* owner, const std::string& path, unsigned timeoutMs);
