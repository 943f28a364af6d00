// The private folder of one run, made beside the destination: it holds the
// chunk area ".video" and the KDX file being assembled, so nothing appears
// at the destination until the file is complete. Removing it at the end of
// every run leaves nothing behind, and two converters never share
// temporaries. The run keeps a lock on a file in the folder for its whole
// life; a folder whose lock anyone can take belongs to a run that was
// killed, and the next run in the same place removes it.
#pragma once

#include <string>

namespace kdx {

class RunFolder {
 public:
  RunFolder() = default;
  ~RunFolder();  // removes the folder and everything in it
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  // Removes the folders of killed runs beside the destination, then creates
  // and locks a new folder there; false on failure.
  bool Create(const std::string& destinationPath);
  void Remove();
  const std::string& path() const { return path_; }
  std::string VideoPath() const { return path_ + "/.video"; }
  // The KDX file while it is assembled.
  std::string KdxPath() const { return path_ + "/.kdx"; }
  // Moves the assembled file onto destinationPath in one step and flushes
  // the destination folder, so the name never shows a partial file.
  bool MoveKdxTo(const std::string& destinationPath) const;

 private:
  std::string path_;
  int lock_ = -1;  // descriptor holding the run's lock
};

}  // namespace kdx
