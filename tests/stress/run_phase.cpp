// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/stress/run_phase.h"

#include <filesystem>

namespace kdxtest {

const char* RunPhaseName(RunPhase phase) {
  switch (phase) {
    case RunPhase::NotStarted:
      return "before the run made its folder";
    case RunPhase::BeforeDestination:
      return "before the destination existed";
    case RunPhase::WritingSound:
      return "while the sound part was written";
    case RunPhase::AppendingChunks:
      return "while the chunks were appended";
    case RunPhase::Finished:
      return "after the run had finished";
  }
  return "?";
}

int64_t FileSizeOrMissing(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  return error ? -1 : static_cast<int64_t>(size);
}

RunPhase ObservePhase(const std::string& folder, const std::string& destination, uint64_t soundPartBytes) {
  const int64_t size = FileSizeOrMissing(destination);
  if (size > static_cast<int64_t>(soundPartBytes)) return RunPhase::AppendingChunks;
  if (size >= 0) return RunPhase::WritingSound;
  std::error_code error;
  const bool anything = !std::filesystem::is_empty(folder, error);
  return !error && anything ? RunPhase::BeforeDestination : RunPhase::NotStarted;
}

}  // namespace kdxtest
