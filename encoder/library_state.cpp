// SPDX-License-Identifier: GPL-2.0-or-later
#include "library_state.h"

#include "platform/base/message_window.h"

namespace kdx {

std::atomic<int32_t> g_state{TS_IDLE};
TRANSCODER_PARAM g_param{};

void PostToCaller(UINT message, WPARAM wParam, LPARAM lParam) { PostMessage(g_param.hWnd, message, wParam, lParam); }

}  // namespace kdx
