// Where a converted file goes: a folder per player model under the target
// folder, holding the file under its output name.
#pragma once

#include <string>

// The player folder: the target folder (the program's folder when empty)
// followed by the model's name.
std::string PlayerFolder(const std::string& targetFolder, const std::string& modelName);

// Makes the target and player folders as needed and returns the path of the
// converted file in *destPath. On failure returns false and puts the text
// for the user in *failure ("Create target folder error!" or
// "Create <folder> folder error!").
bool GetDestFileName(const std::string& targetFolder, const std::string& modelName, const std::string& outputName,
                     std::string* destPath, std::string* failure);
