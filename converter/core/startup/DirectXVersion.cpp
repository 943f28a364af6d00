// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/DirectXVersion.h"

#include <cctype>
#include <cstdio>
#include <string>

#include "platform/base/compat_profile.h"
#include "converter/core/startup/file_version.h"

namespace {

const char kSystemInfoContainer[] = "DxDiag_SystemInfo";

// How a row of the system-folder table judges its file's version.
enum class Condition {
  kAtLeast,        // at least `minimum`
  kByFirstNumber,  // first number 4 and at least `minimum`, or 5 and at least `minimum5`
  kReadable,       // any readable version
};

struct SystemFileRow {
  const char* file;
  Condition condition;
  uint64_t minimum;
  uint64_t minimum5;
  DirectXVersion answer;
};

// In release order: the last row that holds names the version.
const SystemFileRow kSystemFileRows[] = {
    {"ddraw.dll", Condition::kAtLeast, MakeFileVersion(4, 2, 0, 95), 0, {1, 0, ' '}},
    {"ddraw.dll", Condition::kAtLeast, MakeFileVersion(4, 3, 0, 1096), 0, {2, 0, ' '}},
    {"ddraw.dll", Condition::kAtLeast, MakeFileVersion(4, 4, 0, 68), 0, {3, 0, ' '}},
    {"d3drg8x.dll", Condition::kAtLeast, MakeFileVersion(4, 4, 0, 70), 0, {3, 0, 'a'}},
    {"ddraw.dll", Condition::kAtLeast, MakeFileVersion(4, 5, 0, 155), 0, {5, 0, ' '}},
    {"ddraw.dll", Condition::kAtLeast, MakeFileVersion(4, 6, 0, 318), 0, {6, 0, ' '}},
    {"ddraw.dll", Condition::kAtLeast, MakeFileVersion(4, 6, 0, 436), 0, {6, 1, ' '}},
    {"dplayx.dll", Condition::kAtLeast, MakeFileVersion(4, 6, 3, 518), 0, {6, 1, 'a'}},
    {"ddraw.dll", Condition::kAtLeast, MakeFileVersion(4, 7, 0, 700), 0, {7, 0, ' '}},
    {"dinput.dll", Condition::kAtLeast, MakeFileVersion(4, 7, 0, 716), 0, {7, 0, 'a'}},
    {"ddraw.dll", Condition::kByFirstNumber, MakeFileVersion(4, 8, 0, 400), MakeFileVersion(5, 1, 2258, 400),
     {8, 0, ' '}},
    {"d3d8.dll", Condition::kByFirstNumber, MakeFileVersion(4, 8, 1, 881), MakeFileVersion(5, 1, 2600, 881),
     {8, 1, ' '}},
    {"d3d8.dll", Condition::kByFirstNumber, MakeFileVersion(4, 8, 1, 901), MakeFileVersion(5, 1, 2600, 901),
     {8, 1, 'a'}},
    {"mpg2splt.ax", Condition::kAtLeast, MakeFileVersion(6, 3, 1, 885), 0, {8, 1, 'b'}},
    {"dpnet.dll", Condition::kByFirstNumber, MakeFileVersion(4, 9, 0, 134), MakeFileVersion(5, 2, 3677, 134),
     {8, 2, ' '}},
    {"d3d9.dll", Condition::kReadable, 0, 0, {9, 0, ' '}},
};

bool RowHolds(const SystemFileRow& row, uint64_t version) {
  switch (row.condition) {
    case Condition::kAtLeast:
      return version >= row.minimum;
    case Condition::kByFirstNumber:
      return (FileVersionFirstNumber(version) == 4 && version >= row.minimum) ||
             (FileVersionFirstNumber(version) == 5 && version >= row.minimum5);
    case Condition::kReadable:
      return true;
  }
  return false;
}

std::optional<uint32_t> DwordProperty(const char* name) {
  std::optional<compat::TypedValue> value = compat::QueryDiagnosticsProperty(kSystemInfoContainer, name);
  if (!value || value->type != compat::TypedValue::Type::kDword) return std::nullopt;
  return value->dword;
}

}  // namespace

uint32_t PackDirectXVersion(const DirectXVersion& version) {
  char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(version.letter)));
  uint32_t letterIndex = letter >= 'a' && letter <= 'z' ? static_cast<uint32_t>(letter - 'a' + 1) : 0;
  return version.major << 16 | version.minor << 8 | letterIndex;
}

void FormatDirectXVersion(const DirectXVersion& version, char* text, size_t capacity) {
  if (text == nullptr || capacity == 0) return;
  char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(version.letter)));
  if (letter == ' ') {
    std::snprintf(text, capacity, "%u.%u", version.major, version.minor);
  } else {
    std::snprintf(text, capacity, "%u.%u%c", version.major, version.minor, letter);
  }
}

std::optional<DirectXVersion> QueryDiagnosticsDirectXVersion() {
  if (!compat::DiagnosticsServiceAvailable()) return std::nullopt;
  std::optional<uint32_t> major = DwordProperty("dwDirectXVersionMajor");
  std::optional<uint32_t> minor = DwordProperty("dwDirectXVersionMinor");
  std::optional<compat::TypedValue> letter =
      compat::QueryDiagnosticsProperty(kSystemInfoContainer, "szDirectXVersionLetter");
  if (!major || !minor || !letter || letter->type != compat::TypedValue::Type::kString || letter->text.empty()) {
    return std::nullopt;
  }
  // The letter is one of a-z or a space; a character outside plain text
  // would not survive the log line.
  unsigned char first = static_cast<unsigned char>(letter->text[0]);
  return DirectXVersion{*major, *minor, first < 0x80 ? static_cast<char>(first) : '?'};
}

DirectXVersion InspectSystemFolderDirectXVersion() {
  DirectXVersion found;
  std::string folder = compat::SystemDirectory();
  if (folder.empty() || folder.size() >= MAX_PATH) return found;
  for (const SystemFileRow& row : kSystemFileRows) {
    uint64_t version = 0;
    if (FAILED(GetFileVersion((folder + "\\" + row.file).c_str(), &version))) continue;
    if (RowHolds(row, version)) found = row.answer;
  }
  return found;
}

HRESULT GetDirectXVersion(uint32_t* packed, char* text, int capacity) {
  if (packed != nullptr) *packed = 0;
  if (text != nullptr && capacity > 0) text[0] = '\0';
  // The system folder always answers, so this cannot fail in practice.
  std::optional<DirectXVersion> reported = QueryDiagnosticsDirectXVersion();
  DirectXVersion version = reported ? *reported : InspectSystemFolderDirectXVersion();
  version.letter = static_cast<char>(std::tolower(static_cast<unsigned char>(version.letter)));
  if (packed != nullptr) *packed = PackDirectXVersion(version);
  if (capacity > 0) FormatDirectXVersion(version, text, static_cast<size_t>(capacity));
  return S_OK;
}
