// SPDX-License-Identifier: GPL-2.0-or-later
// The file list that takes files and folders dropped from a file manager.
#pragma once

#include "converter/gui/widgets/DropMode.h"
#include "converter/gui/widgets/XListCtrl.h"

class CFileDropListCtrl : public CXListCtrl {
  Q_OBJECT

 public:
  explicit CFileDropListCtrl(QWidget* parent = nullptr);

  // Refused (false, old mode kept) when the mode is not usable.
  bool SetDropMode(const DropMode& mode);
  const DropMode& GetDropMode() const { return m_mode; }

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void TakeDroppedPath(const QString& droppedPath);

  DropMode m_mode;
};
