// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/request/destination_path.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "converter/core/request/failure_texts.h"
#include "converter/core/support/path_utils.h"
#include "converter/core/support/videos_folder.h"
#include "platform/base/home_folder.h"

namespace {

std::string JoinPath(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The trailing separator makes a dotted name ("clips.2024") a folder too.
// A link another user planted in a shared folder is named in *failure;
// any other failure is `text` with the system's reason.
bool MakeFolder(const std::string& folder, const std::string& text, std::string* failure) {
  int error = 0;
  std::string untrustedLink;
  if (CreateDirectoryTree(JoinPath(folder, ""), &error, &untrustedLink)) return true;
  if (!untrustedLink.empty()) {
    *failure = "The " + untrustedLink +
               " folder is a link owned by another user in a shared folder; it is not followed. Please choose "
               "another target folder.";
  } else {
    *failure = text + SystemReasonText(error);
  }
  return false;
}

// The folders of the path that do not exist yet, innermost first.
std::vector<std::string> MissingFolders(const std::string& folder) {
  std::vector<std::string> missing;
  std::filesystem::path path = folder;
  while (path.has_relative_path() && !path.has_filename()) path = path.parent_path();  // a final '/'
  std::error_code ignored;
  for (; !path.empty() && !std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
       path = path.parent_path()) {
    missing.push_back(path.string());
    if (path == path.parent_path()) break;
  }
  return missing;
}

}  // namespace

std::string ExpandHomeFolder(const std::string& folder) {
  if (folder.empty() || folder[0] != '~' || (folder.size() > 1 && folder[1] != '/')) return folder;
  const std::string home = HomeFolder();
  if (home.empty()) return folder;
  return home + folder.substr(1);
}

std::string DefaultTargetFolder(const std::string& programFolder) {
  std::string folder = programFolder;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (!folder.empty() && ::access(folder.c_str(), W_OK) == 0) return folder;
  const std::string videos = UserVideosFolder();
  return videos.empty() ? folder : videos;
}

std::string TargetOrProgramFolder(const std::string& targetFolder) {
  if (!targetFolder.empty()) return ExpandHomeFolder(targetFolder);
  return DefaultTargetFolder(GetModuleFolder());
}

std::string PlayerFolder(const std::string& targetFolder, const std::string& modelName) {
  return JoinPath(TargetOrProgramFolder(targetFolder), modelName);
}

bool GetDestFileName(const std::string& targetFolder, const std::string& modelName, const std::string& outputName,
                     std::string* destPath, std::string* failure, const ConfirmFolderCreation& confirm,
                     std::vector<std::string>* madeFolders) {
  const std::string target = TargetOrProgramFolder(targetFolder);
  std::error_code ignored;
  if (confirm && !std::filesystem::is_directory(target, ignored) && !confirm(target)) {
    *failure = kFolderRefusedText;
    return false;
  }
  failure->clear();
  // A target folder the user agreed to is the user's.
  const std::vector<std::string> madeTarget = confirm ? std::vector<std::string>{} : MissingFolders(target);
  if (!MakeFolder(target, "Create target folder error!", failure)) return false;
  std::string playerFolder = PlayerFolder(targetFolder, modelName);
  std::vector<std::string> made = MissingFolders(playerFolder);
  if (!MakeFolder(playerFolder, "Create " + playerFolder + " folder error!", failure)) return false;
  *destPath = JoinPath(playerFolder, outputName);
  if (madeFolders != nullptr) {
    made.insert(made.end(), madeTarget.begin(), madeTarget.end());
    *madeFolders = std::move(made);
  }
  return true;
}
