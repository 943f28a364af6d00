#include "OptionTreeList.h"

#include <QHeaderView>
#include <QResizeEvent>

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

// The label column takes two fifths of the width.
void COptionTreeList::resizeEvent(QResizeEvent* event) {
  QTreeWidget::resizeEvent(event);
  setColumnWidth(0, viewport()->width() * 2 / 5);
}
