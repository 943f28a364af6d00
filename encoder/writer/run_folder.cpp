#include "writer/run_folder.h"

#include <stdlib.h>
#include <unistd.h>

#include <vector>

namespace kdx {

namespace {
// The folder part of a destination path; a bare file name lives in the
// current directory.
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}
}  // namespace

RunFolder::~RunFolder() { Remove(); }

bool RunFolder::Create(const std::string& destinationPath) {
  Remove();
  std::string folder = FolderOf(destinationPath);
  if (folder.back() != '/') folder += '/';
  std::string pattern = folder + ".kdx-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) return false;
  path_ = name.data();
  return true;
}

void RunFolder::Remove() {
  if (path_.empty()) return;
  // Failures are ignored: a temporary that cannot go must not fail the run.
  unlink(VideoPath().c_str());
  rmdir(path_.c_str());
  path_.clear();
}

}  // namespace kdx
