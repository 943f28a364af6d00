// SPDX-License-Identifier: GPL-2.0-or-later
// The program's message boxes on Qt: one caption, Windows-style button and
// icon flags, and a question that answers itself after a time-out.
#pragma once

#include <QString>

class QWidget;

// Caption of every message box of the program.
inline constexpr const char* kApplicationCaption = "Norvik KDX Video Converter";

// Style flags (buttons in the low nibble, icon in the next one) and results,
// with the values the program's callers already use.
enum MessageBoxStyle : unsigned {
  kMbOk = 0x0,
  kMbOkCancel = 0x1,
  kMbYesNo = 0x4,
  kMbIconError = 0x10,
  kMbIconQuestion = 0x20,
  kMbIconWarning = 0x30,  // the exclamation mark
  kMbIconInformation = 0x40,
};
enum MessageBoxResult : int {
  kIdOk = 1,
  kIdCancel = 2,
  kIdYes = 6,
  kIdNo = 7,
  kIdTimeout = 32000,  // the box closed itself; neither OK nor Cancel
};

// Shows a modal box and returns the button pressed (Escape or closing the
// window gives Cancel, or No, or OK for a box with OK alone). A time-out of 0
// waits for ever; otherwise the box closes itself after that many
// milliseconds and the call returns kIdTimeout. Windows line breaks ("\r\n")
// in the text become plain ones.
int MessageBoxWithTimeout(QWidget* owner, const QString& text, const QString& caption, unsigned style,
                          unsigned milliseconds);

// The program's usual box: its caption, an OK button and a warning icon.
void ShowWarningBox(QWidget* owner, const QString& text);
