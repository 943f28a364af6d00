// SPDX-License-Identifier: GPL-2.0-or-later
// The files one batch has written: a later input of the same batch that
// would end in one of them is skipped instead of replacing it.
#pragma once

#include <set>
#include <string>

class DestinationClaims {
 public:
  bool Claimed(const std::string& destination) const;
  void Claim(const std::string& destination);
  void Clear() { m_claimed.clear(); }

 private:
  std::set<std::string> m_claimed;
};
