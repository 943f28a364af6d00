// SPDX-License-Identifier: GPL-2.0-or-later
// Where a converted file goes: a folder per player model under the target
// folder, holding the file under its output name.
#pragma once

#include <functional>
#include <string>
#include <vector>

// Asked before a target folder that does not exist is made; false refuses.
using ConfirmFolderCreation = std::function<bool(const std::string& folder)>;

// What the user reads when the folder question is answered No.
inline constexpr char kFolderRefusedText[] = "The conversion abort!";

// "~" and "~/..." with the user's home folder ($HOME) in place of "~"; any
// other text as it is.
std::string ExpandHomeFolder(const std::string& folder);

// The target folder ("~" expanded), or when it is empty the folder a
// converted file goes to by default: the program's folder (without its
// final '/') when the user can write there, as in a build tree, else the
// user's videos folder (an installed program lives in a system folder).
std::string TargetOrProgramFolder(const std::string& targetFolder);
// The same choice for a given program folder.
std::string DefaultTargetFolder(const std::string& programFolder);

// The player folder: TargetOrProgramFolder(targetFolder) followed by the
// model's name.
std::string PlayerFolder(const std::string& targetFolder, const std::string& modelName);

// Makes the target and player folders as needed and returns the path of the
// converted file in *destPath. On failure returns false and puts the text
// for the user in *failure ("Create target folder error!" or
// "Create <folder> folder error!", or a text naming a link another user
// planted in a shared folder, which is never followed). With confirm, a missing target folder is
// made only when it agrees; a refusal fails with kFolderRefusedText.
// *madeFolders (when given) gets the folders made without asking, innermost
// first: the player folder and, without confirm, the target's.
bool GetDestFileName(const std::string& targetFolder, const std::string& modelName, const std::string& outputName,
                     std::string* destPath, std::string* failure, const ConfirmFolderCreation& confirm = {},
                     std::vector<std::string>* madeFolders = nullptr);
