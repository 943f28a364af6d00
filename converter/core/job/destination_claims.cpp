// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/job/destination_claims.h"

#include <filesystem>

namespace {

// "out/../out/a.kdx" and "out/a.kdx" are one file.
std::string Normal(const std::string& path) {
  std::error_code error;
  std::filesystem::path normal = std::filesystem::weakly_canonical(path, error);
  return error ? path : normal.string();
}

}  // namespace

bool DestinationClaims::Claimed(const std::string& destination) const {
  return m_claimed.count(Normal(destination)) != 0;
}

void DestinationClaims::Claim(const std::string& destination) { m_claimed.insert(Normal(destination)); }
