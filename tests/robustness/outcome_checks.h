// SPDX-License-Identifier: GPL-2.0-or-later
// What a conversion must leave behind however it ended, checked for runs
// through the library and through kdxconvert.
#pragma once

#include <string>

#include "platform/base/message_window.h"
#include "tests/transcoder/run_harness.h"
#include "tests/support/test_paths.h"

namespace kdxtest {

struct LibraryOutcome {
  HRESULT opened = S_OK;  // NewTranscoder's result
  RunMessages run;        // only when opened is S_OK
};

// NewTranscoder, then, when it succeeded, Transcode and the run's messages
// with a time limit; the transcoder is closed afterwards.
LibraryOutcome ConvertThroughLibrary(const std::string& source, const std::string& destination,
                                     const TRANSCODER_PARAM& request, MessageQueue& queue);

// Fails the test unless the outcome is one the library documents: a known
// NewTranscoder result; for a run, exactly one final message within the
// time limit, after at most one error of a known kind. Then checks the
// destination: a valid KDX file after a run without error, else absent.
void ExpectDocumentedOutcome(const LibraryOutcome& outcome, const std::string& destination, const std::string& label);

// Fails the test for anything under `folder` that is not a valid KDX file,
// a run's private folder (".kdx-...") among them. Returns the number of
// KDX files.
int ExpectOnlyValidKdxFiles(const std::string& folder, const std::string& label);

// The shell command that runs kdxconvert with its home, settings folder and
// log inside `dir` and no terminal.
std::string KdxconvertCommand(const ScratchDir& dir, const std::string& arguments, const std::string& launcher);

// Runs kdxconvert with its home, settings folder and log inside `dir` and
// no terminal; `launcher` goes in front of the program (a time limit, a
// resource limit). Returns the exit status.
int RunKdxconvert(const ScratchDir& dir, const std::string& arguments, std::string* output,
                  const std::string& launcher = "timeout 120");

}  // namespace kdxtest
