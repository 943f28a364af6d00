// SPDX-License-Identifier: GPL-2.0-or-later
// The option tree's two-column list: labels on the left, values on the
// right, category rows in bold. Editors sit over the value column.
#pragma once

#include <QTreeWidget>

class COptionTreeList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit COptionTreeList(QWidget* parent = nullptr);

  // Where a row's value editor goes, in viewport coordinates.
  QRect ValueRect(QTreeWidgetItem* row) const;

 signals:
  // The rows moved or changed size: open editors must follow.
  void rowsMoved();
  // Enter on a row: open its editor.
  void editRequested(QTreeWidgetItem* row);

 protected:
  static constexpr int kLabelPadding = 6;

  void updateGeometries() override;
  void scrollContentsBy(int dx, int dy) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};
