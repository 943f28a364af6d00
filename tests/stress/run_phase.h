// SPDX-License-Identifier: GPL-2.0-or-later
// Where a conversion run stands, read from outside the library by what it
// has put into the destination's folder so far.
#pragma once

#include <cstdint>
#include <string>

namespace kdxtest {

enum class RunPhase {
  NotStarted,         // nothing on disk yet
  BeforeDestination,  // the run's private folder only: setting up, measuring
  WritingSound,       // the destination, no longer than its sound part
  AppendingChunks,    // the destination has grown past its sound part
  Finished,           // a complete file was left: the run ended first
};
constexpr int kRunPhaseCount = 5;

const char* RunPhaseName(RunPhase phase);

// The phase a run writing "destination" inside "folder" has reached, given
// the size of the sound part its finished file has.
RunPhase ObservePhase(const std::string& folder, const std::string& destination, uint64_t soundPartBytes);

// Size of a file, -1 when it does not exist.
int64_t FileSizeOrMissing(const std::string& path);

}  // namespace kdxtest
