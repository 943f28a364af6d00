// SPDX-License-Identifier: GPL-2.0-or-later
// The library-wide run state shared by the exports, the worker and the
// streaming threads: the state word and the copy of the caller's request.
#pragma once

#include <atomic>
#include <cstdint>

#include "kdx.h"

namespace kdx {

// TS_IDLE, TS_BUSY or TS_STOP_REQUESTED.
extern std::atomic<int32_t> g_state;

// The current run's request. Written by Transcode before the worker starts
// and read by the worker and the callbacks while the run lasts; nVideoKBps
// already holds bytes per second.
extern TRANSCODER_PARAM g_param;

inline bool IsBusy() { return g_state.load(std::memory_order_acquire) == TS_BUSY; }

// Turns a busy run into a stopping one; does nothing when no run is busy.
inline void RequestStop() {
  int32_t expected = TS_BUSY;
  g_state.compare_exchange_strong(expected, TS_STOP_REQUESTED, std::memory_order_acq_rel);
}

// Posts a message to the run's window.
void PostToCaller(UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace kdx
