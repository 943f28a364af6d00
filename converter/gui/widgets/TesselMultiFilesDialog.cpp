// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/TesselMultiFilesDialog.h"

#include <QDir>
#include <QFileInfo>

CTesselMultiFilesDialog::CTesselMultiFilesDialog(QWidget* parent, const QString& caption, const QString& folder,
                                                 const QString& filter)
    : QFileDialog(parent, caption, folder, filter) {
  setFileMode(QFileDialog::ExistingFiles);
  setAcceptMode(QFileDialog::AcceptOpen);
}

QStringList CTesselMultiFilesDialog::GetPathNames() const {
  QStringList paths;
  const QString folder = directory().absolutePath();
  for (const QString& selected : selectedFiles()) {
    const QFileInfo info(selected);
    paths << (info.isAbsolute() ? info.absoluteFilePath() : QDir(folder).absoluteFilePath(selected));
  }
  return paths;
}
