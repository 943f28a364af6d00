// SPDX-License-Identifier: GPL-2.0-or-later
// How the batch shows a queued file's failure in its row.
#pragma once

#include <QString>

class ConversionQueueModel;

// Status "Failed." with the reason as the cell's tooltip, check box cleared.
void ShowRowFailed(ConversionQueueModel& queue, int row, const QString& reason);
