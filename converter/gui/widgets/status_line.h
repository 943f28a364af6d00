// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's status line: one sentence about what just happened.
#pragma once

class QLabel;
class QString;

// Shows `text`; a line naming several refused files is longer than the
// field, so the whole of it is also the line's tool tip.
void ShowStatusText(QLabel& line, const QString& text);
