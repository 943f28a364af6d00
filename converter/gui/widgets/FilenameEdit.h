// SPDX-License-Identifier: GPL-2.0-or-later
// A path field: shows a long path shortened in the middle to fit, with the
// whole path as its tool tip; reading it gives the whole path.
#pragma once

#include <QLineEdit>

class CFilenameEdit : public QLineEdit {
 public:
  explicit CFilenameEdit(QWidget* parent = nullptr);

  void SetFilename(const QString& path);
  QString GetFilename() const { return m_path; }

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowShortened();

  QString m_path;
};
