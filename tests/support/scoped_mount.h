// SPDX-License-Identifier: GPL-2.0-or-later
// A real mount for the life of the object, taken away lazily so a busy one
// goes too. Mounting needs root; mounted() tells whether it took place.
#pragma once

#include <sys/mount.h>

#include <string>

namespace kdxtest {

class ScopedMount {
 public:
  ScopedMount(const std::string& source, const std::string& target, const char* type, unsigned long flags,
              const char* options)
      : target_(target), mounted_(::mount(source.c_str(), target.c_str(), type, flags, options) == 0) {}
  ~ScopedMount() { Detach(); }
  ScopedMount(const ScopedMount&) = delete;
  ScopedMount& operator=(const ScopedMount&) = delete;

  bool mounted() const { return mounted_; }
  bool Remount(unsigned long flags, const char* options) {
    return ::mount(nullptr, target_.c_str(), nullptr, MS_REMOUNT | flags, options) == 0;
  }
  bool MakeReadOnly() { return Remount(MS_BIND | MS_RDONLY, nullptr); }
  void Detach() {
    if (mounted_) ::umount2(target_.c_str(), MNT_DETACH);
    mounted_ = false;
  }

 private:
  std::string target_;
  bool mounted_;
};

}  // namespace kdxtest
