// SPDX-License-Identifier: GPL-2.0-or-later
// Shortens a path to a width the way a path field does: the beginning and
// the last part stay, the folders in between give way to an ellipsis.
#pragma once

#include <QString>

class QFontMetrics;

QString ElidePathMiddle(const QString& path, const QFontMetrics& metrics, int width);
