// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/file_version.h"

#include "platform/base/compat_profile.h"

HRESULT GetFileVersion(const char* path, uint64_t* version) {
  if (path == nullptr || version == nullptr) return E_INVALIDARG;
  uint32_t high = 0;
  uint32_t low = 0;
  if (compat::QueryFileVersionResource(path, &high, &low) != compat::FileVersionAnswer::kAnswered) return E_FAIL;
  *version = static_cast<uint64_t>(high) << 32 | low;
  return S_OK;
}
