// SPDX-License-Identifier: GPL-2.0-or-later
// The program's trace log: one line per call, appended to a text file that is
// opened and closed for every line. Writing never fails for the caller: a log
// that cannot be opened simply loses the line.
#pragma once

#include <ctime>
#include <string>

// Where the log lives: $NKDX_LOG_FILE, else $XDG_STATE_HOME/norvik-kdx/Pxrc_log.txt
// (XDG_STATE_HOME defaulting to ~/.local/state); empty without a home folder.
std::string LogFilePath();

// "2007/03/05  09:04:07:045": local date and time of one line.
std::string FormatLogTimeStamp(const std::tm& local, unsigned milliseconds);

// Appends the time stamp, two spaces and the formatted text. A format of 230
// characters or more is replaced by "text too long: N" without a time stamp.
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends "Error (unit line): message" as an ordinary line; the message is
// taken literally, so a '%' in it is just text.
void WriteErrorLog(const std::string& message, const char* unit, long line);

// Error lines name the unit and line that detected the failure.
#define KDX_ERROR_LOG(message) WriteErrorLog((message), __FILE__, __LINE__)
