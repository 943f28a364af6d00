// The questions the batch asks before it writes a converted file.
#pragma once

#include <string>

class QWidget;

// How long the overwrite question waits before it answers OK by itself.
inline constexpr unsigned kOverwriteQuestionTimeoutMs = 60000;

// "The <folder> folder does not exist, do you want to create it?"; true for Yes.
bool AskToCreateFolder(QWidget* owner, const std::string& folder);

// Whether an existing converted file may be replaced; OK and the time-out
// agree, Cancel refuses.
bool AskToOverwrite(QWidget* owner, const std::string& path, unsigned timeoutMs);

// Lets the user's file be replaced: a read-only file becomes writable for
// its owner.
void MakeWritable(const std::string& path);
