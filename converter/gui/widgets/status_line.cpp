// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/status_line.h"

#include <QLabel>

void ShowStatusText(QLabel& line, const QString& text) {
  line.setText(text);
  line.setToolTip(text);
}
