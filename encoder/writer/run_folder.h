// SPDX-License-Identifier: GPL-2.0-or-later
// The private folder of one run, made beside the destination: it holds the
// chunk area ".video" and the KDX file being assembled, so nothing appears
// at the destination until the file is complete. Removing it at the end of
// every run leaves nothing behind, and two converters never share
// temporaries. The run keeps a lock on a file in the folder for its whole
// life; a folder whose lock anyone can take belongs to a run that was
// killed, and the next run of the same user in the same place removes it.
// The destination's folder is entered once, without following a link
// another user planted in a shared folder; every later step works inside
// the folders opened then.
#pragma once

#include <optional>
#include <string>

#include "writer/binary_file.h"
#include "writer/file_identity.h"

namespace kdx {

class RunFolder {
 public:
  // How the finished file took the destination's name.
  enum class Move {
    kDone,
    kTaken,   // another file took the name meanwhile; it stays
    kFailed,  // the system refused (Error() tells why)
  };

  RunFolder() = default;
  ~RunFolder();  // removes the folder and everything in it
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;

  // Enters the destination's folder, refuses a destination name longer than
  // its file system takes, removes the folders of killed runs there, then
  // creates and locks a new folder; false on failure (Error() tells why).
  bool Create(const std::string& destinationPath);
  void Remove();
  const std::string& path() const { return path_; }
  std::string VideoPath() const { return path_ + "/" + kVideoName; }
  // The KDX file while it is assembled.
  std::string KdxPath() const { return path_ + "/" + kKdxName; }
  // Opens ".video" or ".kdx" inside the folder.
  bool OpenVideo(BinaryFile& file, BinaryFile::Mode mode) const { return file.OpenAt(folder_, kVideoName, mode); }
  bool OpenKdx(BinaryFile& file, BinaryFile::Mode mode) const { return file.OpenAt(folder_, kKdxName, mode); }

  // True while the destination holds `agreed` (the file the caller agreed
  // to replace) or nothing at all.
  bool DestinationIsFree(const std::optional<FileIdentity>& agreed) const;
  // Gives the assembled file the destination's name in one step and flushes
  // the destination folder, so the name never shows a partial file. Only
  // `agreed` is replaced (a link as the link itself); any other file that
  // took the name meanwhile stays. *moved (when given) receives the moved
  // file's identity.
  Move MoveKdxTo(const std::optional<FileIdentity>& agreed, std::optional<FileIdentity>* moved = nullptr);
  // The system's reason (errno) for the last failure.
  int Error() const { return error_; }

 private:
  static constexpr char kVideoName[] = ".video";
  static constexpr char kKdxName[] = ".kdx";

  bool Fail();

  std::string destinationFolder_;
  std::string destinationName_;
  std::string name_;  // the run folder's own name
  std::string path_;
  int parent_ = -1;  // the destination's folder
  int folder_ = -1;  // the run folder
  int lock_ = -1;    // descriptor holding the run's lock
  int error_ = 0;
};

}  // namespace kdx
