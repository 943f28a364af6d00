// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/OptionTreeList.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QResizeEvent>
#include <algorithm>

COptionTreeList::COptionTreeList(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(2);
  setHeaderHidden(true);
  setRootIsDecorated(true);
  setAlternatingRowColors(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformRowHeights(true);
  header()->setStretchLastSection(true);
  connect(this, &QTreeWidget::itemExpanded, this, &COptionTreeList::rowsMoved);
  connect(this, &QTreeWidget::itemCollapsed, this, &COptionTreeList::rowsMoved);
  connect(header(), &QHeaderView::sectionResized, this, &COptionTreeList::rowsMoved);
}

QRect COptionTreeList::ValueRect(QTreeWidgetItem* row) const {
  const QRect rowRect = visualItemRect(row);
  return QRect(header()->sectionViewportPosition(1), rowRect.top(), header()->sectionSize(1), rowRect.height());
}

void COptionTreeList::updateGeometries() {
  QTreeWidget::updateGeometries();
  emit rowsMoved();
}

void COptionTreeList::scrollContentsBy(int dx, int dy) {
  QTreeWidget::scrollContentsBy(dx, dy);
  emit rowsMoved();
}

// The label column fits the longest label, taking two fifths of the width
// at least and half of it at most, so values keep their room.
void COptionTreeList::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  const int width = viewport()->width();
  setColumnWidth(0, std::clamp(sizeHintForColumn(0) + kLabelPadding, width * 2 / 5, std::max(width / 2, width * 2 / 5)));
}

// Enter belongs to the panel: it opens the row's editor and never reaches
// the window's buttons.
void COptionTreeList::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    if (currentItem()) emit editRequested(currentItem());
    event->accept();
    return;
  }
  QTreeWidget::keyPressEvent(event);
}
