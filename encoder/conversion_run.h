// SPDX-License-Identifier: GPL-2.0-or-later
// The worker's body: one conversion run from the first seek to the final
// progress message.
#pragma once

#include "audio/audio_grabber_cb.h"
#include "transcoder.h"
#include "video/video_grabber_cb.h"

namespace kdx {

// Runs the conversion of the current request (g_param) on the transcoder.
// Posts WM_TRANSCODE_ERROR for a failed step; the final progress message is
// the worker's, posted once the state word is idle. The destination changes
// only by taking the finished file's name, which replaces no file but the
// one that was there when the transcoder was opened; after a failure or a
// stop the destination is as it was and no temporary remains.
void RunConversion(CTranscoder& transcoder, CVideoGrabberCB& video, CAudioGrabberCB& audio);

}  // namespace kdx
