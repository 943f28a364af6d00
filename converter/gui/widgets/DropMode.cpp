// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/DropMode.h"

#include <QFileInfo>

QString ResolveDroppedPath(const QString& path) {
  const QFileInfo info(path);
  return info.isSymLink() ? info.canonicalFilePath() : path;
}

namespace {

QString ExtensionOf(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  const int dot = name.lastIndexOf(QLatin1Char('.'));
  return dot < 0 ? QString() : name.mid(dot).toLower();
}

}  // namespace

int ClassifyDroppedPath(const DropMode& mode, const QString& path) {
  if (path.isEmpty()) return 0;
  const QFileInfo info(path);
  if (!info.exists()) return 0;
  if (info.isDir()) return (mode.iMask & DropMode::DL_ACCEPT_FOLDERS) ? DL_FOLDER_TYPE : 0;
  // Only regular files: a device or a pipe is nothing to convert.
  if (!info.isFile() || !(mode.iMask & DropMode::DL_ACCEPT_FILES)) return 0;
  if ((mode.iMask & DropMode::DL_FILTER_EXTENSION) && !mode.csFileExt.toLower().contains(ExtensionOf(path))) {
    return 0;
  }
  return DL_FILE_TYPE;
}
