// SPDX-License-Identifier: GPL-2.0-or-later
// The open dialog for adding videos: any number of existing files, each
// returned as its folder and name joined.
#pragma once

#include <QFileDialog>
#include <QStringList>

class CTesselMultiFilesDialog : public QFileDialog {
 public:
  CTesselMultiFilesDialog(QWidget* parent, const QString& caption, const QString& folder, const QString& filter);

  // Every selected file, folder + "/" + name, in the order of the selection.
  QStringList GetPathNames() const;
};
