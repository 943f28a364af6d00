// SPDX-License-Identifier: GPL-2.0-or-later
// One conversion in a process of its own, for the tests that kill it as a
// crash or a power cut would. Reports on standard output, one line each:
// "started" once Transcode has returned, "progress N" for every progress
// message, "finished" at the end; exits 0 after a run without error.
//
// Usage: killed_run_child SOURCE DESTINATION [SYNC]
// With SYNC n, the n-th fsync of the process (1: the assembled file's, just
// before it takes the destination's name; 2: the destination folder's,
// just after) reports "syncing n" and never returns, so the test can kill
// the run at that very moment.
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "platform/base/bitmap.h"
#include "kdx.h"
#include "tests/transcoder/run_harness.h"

namespace {

int g_pauseAtSync = 0;
std::atomic<int> g_syncs{0};

void Say(const std::string& line) {
  const std::string text = line + "\n";
  if (write(STDOUT_FILENO, text.data(), text.size()) < 0) std::_Exit(3);
}

}  // namespace

// Takes the place of the C library's fsync for this program and the
// library it loads.
extern "C" int fsync(int fd) {
  const int call = ++g_syncs;
  if (call == g_pauseAtSync) {
    Say("syncing " + std::to_string(call));
    for (;;) pause();
  }
  return static_cast<int>(syscall(SYS_fsync, fd));
}

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  if (argc > 3) g_pauseAtSync = std::atoi(argv[3]);
  MessageQueue queue;
  int64_t duration = 0;
  if (NewTranscoder(queue.window(), argv[1], argv[2], &duration) != S_OK) return 1;
  TRANSCODER_PARAM request = kdxtest::MakeRequest(queue.window(), 128, 128, true);
  if (Transcode(&request) != 1) return 1;
  Say("started");
  bool failed = false;
  for (;;) {
    WindowMessage m;
    if (!queue.Get(m, std::chrono::seconds(120))) return 1;
    if (m.message == WM_TRANSCODE_ERROR) failed = true;
    if (m.message != WM_TRANSCODE_PROGRESS) continue;
    if (m.lParam != 0) DeleteObject(reinterpret_cast<HBITMAP>(m.lParam));
    if (m.wParam == 100) break;
    Say("progress " + std::to_string(m.wParam));
  }
  CloseTranscoder();
  Say("finished");
  return failed ? 1 : 0;
}
