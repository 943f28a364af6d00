// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/framehook/frame_filter_hook.h"

#include <IL/il.h>
#include <IL/ilu.h>

#include <atomic>

namespace {

// Set on the caller's thread, read on the encoder's streaming thread.
std::atomic<unsigned> g_scalingFilter{ILU_LINEAR};

}  // namespace

void SetScalingFilter(unsigned filter) { g_scalingFilter.store(filter, std::memory_order_relaxed); }

void FrameFilterHook(unsigned int image) {
  ilBindImage(image);
  iluImageParameter(ILU_FILTER, g_scalingFilter.load(std::memory_order_relaxed));
}
