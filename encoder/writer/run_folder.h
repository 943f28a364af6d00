// The private folder of one run, made beside the destination, that holds
// the temporary chunk area ".video". Removing it at the end of every run
// leaves nothing behind, and two converters never share temporaries.
#pragma once

#include <string>

namespace kdx {

class RunFolder {
 public:
  RunFolder() = default;
  ~RunFolder();  // removes the folder and everything in it
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  // Creates a new folder in the destination's folder; false on failure.
  bool Create(const std::string& destinationPath);
  void Remove();
  const std::string& path() const { return path_; }
  std::string VideoPath() const { return path_ + "/.video"; }

 private:
  std::string path_;
};

}  // namespace kdx
