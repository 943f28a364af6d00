// SPDX-License-Identifier: GPL-2.0-or-later
// One conversion cancelled at a chosen moment, and the checks of what it
// leaves behind.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/message_window.h"
#include "tests/stress/run_phase.h"

namespace kdxtest {

// The three ways a caller ends a run early.
enum class Canceller { StopTranscode, CloseTranscoder, NewTranscoder };

const char* CancellerName(Canceller canceller);

// An uninterrupted conversion of a clip: the file it makes and when its
// phases begin, counted from Transcode's return.
struct ReferenceRun {
  std::string clip;
  std::vector<uint8_t> file;
  uint64_t soundPartBytes = 0;
  std::chrono::microseconds writingSoundFrom{0};     // the destination appears
  std::chrono::microseconds appendingChunksFrom{0};  // it grows past its sound part
  std::chrono::microseconds end{0};                  // the final progress message
};

// Converts the clip once while watching its destination; fails the test
// when the file does not load as a valid KDX file.
ReferenceRun MakeReferenceRun(const std::string& clip, MessageQueue& queue);

// Cancel after `delay`, counted from the moment the run is seen to reach
// `trigger` (from Transcode's return for NotStarted).
struct CancelMoment {
  RunPhase trigger = RunPhase::NotStarted;
  std::chrono::microseconds delay{0};
};

struct CancelOutcome {
  RunPhase reached = RunPhase::NotStarted;  // when the run was cancelled
  std::chrono::microseconds cancelTook{0};  // until the canceller returned
};

// Converts the reference clip into a fresh folder and cancels at the moment.
// Checks with test expectations that the canceller returned success, that
// the run posted exactly one final progress message and no error by then,
// and that the folder holds nothing but, at most, a file identical to the
// reference.
CancelOutcome CancelRun(const ReferenceRun& reference, Canceller canceller, CancelMoment moment, MessageQueue& queue);

}  // namespace kdxtest
