// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/stress/cancelled_run.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

#include "platform/base/bitmap.h"
#include "kdx.h"
#include "tests/transcoder/kdx_check.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

namespace kdxtest {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;

// Short enough to catch the final copy, which lasts a few milliseconds.
constexpr auto kPollInterval = microseconds(200);

std::chrono::microseconds Since(Clock::time_point start) {
  return std::chrono::duration_cast<microseconds>(Clock::now() - start);
}

TRANSCODER_PARAM StressRequest(HWND window) { return MakeRequest(window, 160, 120, true); }

struct QueuedMessages {
  int finals = 0;  // WM_TRANSCODE_PROGRESS with 100
  int errors = 0;
};

// Takes every message already queued, freeing the thumbnails.
void TakeQueued(MessageQueue& queue, QueuedMessages* taken) {
  WindowMessage m;
  while (queue.Get(m, std::chrono::milliseconds(0))) {
    if (m.message == WM_TRANSCODE_ERROR) ++taken->errors;
    if (m.message != WM_TRANSCODE_PROGRESS) continue;
    if (m.wParam == 100) ++taken->finals;
    if (m.lParam != 0) DeleteObject(reinterpret_cast<HBITMAP>(m.lParam));
  }
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool OpenAndStart(MessageQueue& queue, const std::string& clip, const std::string& destination) {
  int64_t duration = 0;
  const HRESULT opened = NewTranscoder(queue.window(), MediaPath(clip).c_str(), destination.c_str(), &duration);
  EXPECT_EQ(opened, S_OK) << clip;
  TRANSCODER_PARAM request = StressRequest(queue.window());
  const bool started = opened == S_OK && Transcode(&request) == 1;
  EXPECT_TRUE(started) << "Transcode did not start a run on a fresh transcoder";
  return started;
}

void WaitForMoment(const std::string& folder, const std::string& destination, const ReferenceRun& reference,
                   CancelMoment moment) {
  // A run that never reaches the phase is cancelled late rather than never.
  const auto deadline = Clock::now() + 4 * reference.end + std::chrono::seconds(2);
  if (moment.trigger != RunPhase::NotStarted) {
    while (ObservePhase(folder, destination, reference.soundPartBytes) < moment.trigger && Clock::now() < deadline)
      std::this_thread::sleep_for(kPollInterval);
  }
  if (moment.delay.count() > 0) std::this_thread::sleep_for(moment.delay);
}

void Cancel(Canceller canceller, MessageQueue& queue, const ReferenceRun& reference, const std::string& folder) {
  switch (canceller) {
    case Canceller::StopTranscode:
      EXPECT_EQ(StopTranscode(), 1);
      return;
    case Canceller::CloseTranscoder:
      EXPECT_EQ(CloseTranscoder(), 1);
      return;
    case Canceller::NewTranscoder: {
      // Opening only deletes its own destination; nothing of it may remain.
      int64_t duration = 0;
      const std::string next = folder + "/next.kdx";
      EXPECT_EQ(NewTranscoder(queue.window(), MediaPath(reference.clip).c_str(), next.c_str(), &duration), S_OK);
      return;
    }
  }
}

}  // namespace

const char* CancellerName(Canceller canceller) {
  switch (canceller) {
    case Canceller::StopTranscode:
      return "StopTranscode";
    case Canceller::CloseTranscoder:
      return "CloseTranscoder";
    case Canceller::NewTranscoder:
      return "NewTranscoder";
  }
  return "?";
}

ReferenceRun MakeReferenceRun(const std::string& clip, MessageQueue& queue) {
  ReferenceRun reference;
  reference.clip = clip;
  ScratchDir dir;
  const std::string out = dir.File("out.kdx");
  if (!OpenAndStart(queue, clip, out)) return reference;
  const auto started = Clock::now();
  struct SizeSeen {
    microseconds at;
    int64_t size;
  };
  std::vector<SizeSeen> sizes;
  QueuedMessages messages;
  while (messages.finals == 0 && Clock::now() - started < std::chrono::minutes(2)) {
    const int64_t size = FileSizeOrMissing(out);
    if (size >= 0 && (sizes.empty() || sizes.back().size != size)) sizes.push_back({Since(started), size});
    std::this_thread::sleep_for(kPollInterval);
    TakeQueued(queue, &messages);
  }
  reference.end = Since(started);
  CloseTranscoder();
  EXPECT_EQ(messages.finals, 1) << clip;
  EXPECT_EQ(messages.errors, 0) << clip;

  const kdxreader::KdxFile file = LoadValid(out);
  reference.file = file.bytes;
  reference.soundPartBytes = file.headerOffset;
  reference.writingSoundFrom = reference.appendingChunksFrom = reference.end;
  if (!sizes.empty()) reference.writingSoundFrom = sizes.front().at;
  for (const SizeSeen& seen : sizes) {
    if (seen.size > static_cast<int64_t>(reference.soundPartBytes)) {
      reference.appendingChunksFrom = seen.at;
      break;
    }
  }
  return reference;
}

CancelOutcome CancelRun(const ReferenceRun& reference, Canceller canceller, CancelMoment moment, MessageQueue& queue) {
  ScratchDir dir;
  const std::string out = dir.File("out.kdx");
  CancelOutcome outcome;
  if (!OpenAndStart(queue, reference.clip, out)) {
    CloseTranscoder();
    return outcome;
  }
  WaitForMoment(dir.path(), out, reference, moment);
  outcome.reached = ObservePhase(dir.path(), out, reference.soundPartBytes);
  const auto cancelled = Clock::now();
  Cancel(canceller, queue, reference, dir.path());
  outcome.cancelTook = Since(cancelled);

  // Each canceller returns only once the worker has finished, and the worker
  // posts its final message before that: everything is queued by now.
  QueuedMessages messages;
  TakeQueued(queue, &messages);
  EXPECT_EQ(messages.finals, 1);
  EXPECT_EQ(messages.errors, 0);
  CloseTranscoder();

  const std::string listing = dir.Listing();
  if (listing.empty()) return outcome;
  // Only a run that ended before the cancel may leave its file, complete.
  EXPECT_EQ(listing, "out.kdx\n");
  EXPECT_TRUE(ReadWholeFile(out) == reference.file) << "the file left behind differs from an uninterrupted run's";
  outcome.reached = RunPhase::Finished;
  return outcome;
}

}  // namespace kdxtest
