// Ctrl-C and termination requests: the first one asks the batch to stop the
// running file and end; a second one ends the program at once.
#pragma once

void InstallStopSignals();
bool StopRequested();
