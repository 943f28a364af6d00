// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/app/program_icon.h"

#include <QImageReader>

// Resources of a static library are registered by hand; this has to happen
// outside any namespace.
static void RegisterIconResource() { Q_INIT_RESOURCE(norvik_kdx_converter); }

QIcon ProgramIcon() {
  RegisterIconResource();
  const QString path = QStringLiteral(":/norvik-kdx-converter.svg");
  // QIcon accepts any path and draws nothing later; ask for a real picture.
  if (QImageReader(path).read().isNull()) return QIcon();
  return QIcon(path);
}
