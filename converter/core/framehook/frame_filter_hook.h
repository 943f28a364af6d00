// SPDX-License-Identifier: GPL-2.0-or-later
// The frame hook that picks the image library's scaling filter for the
// frames of the coming run.
#pragma once

// Sets the filter the hook selects (ILU_LINEAR, ILU_SCALE_BSPLINE, ...).
// Call it between runs.
void SetScalingFilter(unsigned filter);

// Called by the encoder for every frame before scaling, with the image that
// holds the frame.
void FrameFilterHook(unsigned int image);
