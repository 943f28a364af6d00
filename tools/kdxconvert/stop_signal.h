// Ctrl-C and termination requests ask the batch to stop the running file
// cleanly and end; repeated requests change nothing.
#pragma once

void InstallStopSignals();
bool StopRequested();
