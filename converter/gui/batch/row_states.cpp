// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/batch/row_states.h"

#include "converter/gui/queue/conversion_queue_model.h"

void ShowRowFailed(ConversionQueueModel& queue, int row, const QString& reason) {
  queue.HideProgress(row);
  queue.SetStatus(row, "Failed.");
  queue.SetStatusTip(row, reason);
  queue.SetTicked(row, false);
}
