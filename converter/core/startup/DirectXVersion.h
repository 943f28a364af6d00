// SPDX-License-Identifier: GPL-2.0-or-later
// Which DirectX the computer has: asked of the diagnostics service, else
// told from the versions of DirectX's files in the system folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/base/platform_types.h"

struct DirectXVersion {
  uint32_t major = 0;  // 0 when no version was found
  uint32_t minor = 0;
  char letter = ' ';   // revision letter; a space when there is none
};

// major << 16 | minor << 8 | the letter's place in the alphabet (a = 1,
// z = 26, anything else 0): 9.0c is 0x00090003.
uint32_t PackDirectXVersion(const DirectXVersion& version);

// "9.0" or "9.0c", cut to capacity - 1 characters and terminated; nothing is
// written for a capacity of 0.
void FormatDirectXVersion(const DirectXVersion& version, char* text, size_t capacity);

// The version the diagnostics service reports; nothing unless it gives the
// major and minor numbers and a non-empty letter text.
std::optional<DirectXVersion> QueryDiagnosticsDirectXVersion();

// The version told by the files of the system folder; 0.0 when it cannot
// be told.
DirectXVersion InspectSystemFolderDirectXVersion();

// Fills the packed form and the text (either may be null; the letter is
// lower-cased). Succeeds in practice: the system folder always answers.
HRESULT GetDirectXVersion(uint32_t* packed, char* text, int capacity);

// The DirectX the converter needs: 9.0.
constexpr uint32_t kDirectX9 = 0x00090000;
