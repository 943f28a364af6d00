// SPDX-License-Identifier: GPL-2.0-or-later
// FFmpeg's own messages (warnings about damaged input, mostly) belong to
// the trace log, not to the terminal the program was started from, where
// they would drown its own.
#pragma once

// From now on FFmpeg's warnings and errors are written to the trace log,
// each line once while it repeats, and nothing of FFmpeg's reaches the
// terminal.
void SendFfmpegMessagesToTraceLog();
