#include "destination_path.h"

#include "path_utils.h"

namespace {

std::string TargetOrProgramFolder(const std::string& targetFolder) {
  if (!targetFolder.empty()) return targetFolder;
  std::string folder = GetModuleFolder();
  if (folder.size() > 1) folder.pop_back();
  return folder;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The trailing separator makes a dotted name ("clips.2024") a folder too.
bool MakeFolder(const std::string& folder) {
  int error = 0;
  return CreateDirectoryTree(JoinPath(folder, ""), &error);
}

}  // namespace

std::string PlayerFolder(const std::string& targetFolder, const std::string& modelName) {
  return JoinPath(TargetOrProgramFolder(targetFolder), modelName);
}

bool GetDestFileName(const std::string& targetFolder, const std::string& modelName, const std::string& outputName,
                     std::string* destPath, std::string* failure) {
  if (!MakeFolder(TargetOrProgramFolder(targetFolder))) {
    *failure = "Create target folder error!";
    return false;
  }
  std::string playerFolder = PlayerFolder(targetFolder, modelName);
  if (!MakeFolder(playerFolder)) {
    *failure = "Create " + playerFolder + " folder error!";
    return false;
  }
  *destPath = JoinPath(playerFolder, outputName);
  return true;
}
