// SPDX-License-Identifier: GPL-2.0-or-later
// Where the tests find their clips, the built programs and a scratch folder.
#pragma once

#include <string>

namespace kdxtest {

// Full path of a generated clip, such as "clip_h264_aac.mp4".
std::string MediaPath(const std::string& name);
// Full path of a built program or library, such as "kdxinfo".
std::string BinPath(const std::string& name);

// A fresh folder removed with everything in it when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }
  // Names of the entries in the folder (hidden ones included), sorted.
  std::string Listing() const;

 private:
  std::string path_;
};

// The whole content of a file (empty when it cannot be read).
std::string ReadFile(const std::string& path);

// Runs a shell command, returns its exit status; output goes to *output.
int RunCommand(const std::string& command, std::string* output = nullptr);

}  // namespace kdxtest
