#include "tools/kdxconvert/stop_signal.h"

#include <signal.h>

#include <atomic>

namespace {

std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void OnStopSignal(int) { g_stopRequested.store(true); }

}  // namespace

void InstallStopSignals() {
  struct sigaction action{};
  action.sa_handler = &OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART, so a question waiting for an answer returns at once.
  // Repeats stay caught: one interrupt may arrive twice (to the process and
  // to its group), and the stop under way must be allowed to finish.
  action.sa_flags = 0;
  // A background job started without job control ignores Ctrl-C meant for
  // the foreground, and keeps doing so.
  struct sigaction previous{};
  if (sigaction(SIGINT, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() { return g_stopRequested.load(); }
