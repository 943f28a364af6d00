// SPDX-License-Identifier: GPL-2.0-or-later
// The front end's side of one encoder run: the window the encoder posts to,
// and the wait for what it posted. The command line reads a message queue;
// the desktop program handles its posted events meanwhile.
#pragma once

#include <chrono>

#include "platform/base/message_window.h"
#include "platform/base/platform_types.h"

class RunMessages {
 public:
  enum class Wait { kMessage, kTimeout, kQuit };

  virtual ~RunMessages() = default;

  // Where the encoder posts WM_TRANSCODE_PROGRESS and WM_TRANSCODE_ERROR.
  virtual HWND Window() const = 0;
  // The run's next message; kQuit when the program is ending and nothing
  // more will come.
  virtual Wait Next(WindowMessage& message, std::chrono::milliseconds timeout) = 0;
  // The user asked to stop the running file (Ctrl-C, Cancel).
  virtual bool StopRequested() const = 0;
  // A progress message of the run below 100; the thumbnail (or null) is the
  // receiver's to free.
  virtual void Progress(int percent, HBITMAP thumbnail) = 0;
};
