// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/kdxconvert/stop_signal.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace {

// The first signal that asked to stop, 0 while none has.
std::atomic<int> g_stopSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

void OnStopSignal(int signal) {
  int none = 0;
  g_stopSignal.compare_exchange_strong(none, signal);
}

// Signals that a caller set to be ignored stay ignored: a background job
// started without job control ignores Ctrl-C meant for the foreground, nohup
// a hang-up.
constexpr int kSignalsKeptIgnored[] = {SIGINT, SIGHUP, SIGPIPE};

}  // namespace

void InstallStopSignals() {
  struct sigaction action{};
  action.sa_handler = &OnStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART, so a question waiting for an answer returns at once.
  // Repeats stay caught: one interrupt may arrive twice (to the process and
  // to its group), and the stop under way must be allowed to finish.
  action.sa_flags = 0;
  for (int signal : kSignalsKeptIgnored) {
    struct sigaction previous{};
    if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
  }
  sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() { return g_stopSignal.load() != 0; }

void EndByStopSignal() {
  const int signal = g_stopSignal.load();
  if (signal == 0) return;
  struct sigaction fallback{};
  fallback.sa_handler = SIG_DFL;
  sigemptyset(&fallback.sa_mask);
  sigaction(signal, &fallback, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  _exit(128 + signal);  // not reached: the signal's default ends the program
}
