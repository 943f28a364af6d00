// SPDX-License-Identifier: GPL-2.0-or-later
// Ctrl-C, termination requests, a hang-up and a closed output pipe ask the
// batch to stop the running file cleanly and end; repeated requests change
// nothing.
#pragma once

void InstallStopSignals();
bool StopRequested();

// After the stop: ends the program by the signal that asked for it, so the
// caller sees it (a shell 128 plus its number, 130 for Ctrl-C, and a shell
// loop stops). Returns only when no signal asked.
void EndByStopSignal();
