// SPDX-License-Identifier: GPL-2.0-or-later
// An exclusive lock on an open folder for the length of a scope. Programs
// that make temporaries in a folder and sweep the ones left behind hold it
// while they do either, so a sweep never sees a temporary between its making
// and its own lock. Where the folder cannot be locked (some network file
// systems) locked() is false and the caller makes no sweep.
#pragma once

class FolderLock {
 public:
  explicit FolderLock(int folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  bool locked() const { return locked_; }

 private:
  int fd_;
  bool locked_;
};
