// SPDX-License-Identifier: GPL-2.0-or-later
// The program's icon, built into the program so that its windows show it
// wherever the program was installed.
#pragma once

#include <QIcon>

// The film-strip icon drawn from its SVG picture; null when Qt cannot read
// SVG (its SVG image plug-in is missing).
QIcon ProgramIcon();
