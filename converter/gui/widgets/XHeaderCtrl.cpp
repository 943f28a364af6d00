// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/XHeaderCtrl.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionHeader>

namespace {

constexpr int kBoxMargin = 4;

}  // namespace

CXHeaderCtrl::CXHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setSectionsClickable(true);
  setHighlightSections(false);
  setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  connect(this, &QHeaderView::sectionClicked, this, &CXHeaderCtrl::OnSectionClicked);
}

int CXHeaderCtrl::GetCheckImage(int column) const {
  if (column < 0 || column >= static_cast<int>(m_images.size())) return kNoCheckBox;
  return m_images[column];
}

void CXHeaderCtrl::SetCheckImage(int column, int image) {
  if (column < 0 || image < kNoCheckBox || image > kChecked) return;
  if (column >= static_cast<int>(m_images.size())) m_images.resize(column + 1, kNoCheckBox);
  m_images[column] = image;
  viewport()->update();
}

void CXHeaderCtrl::OnSectionClicked(int column) {
  const int image = GetCheckImage(column);
  if (image == kNoCheckBox) return;
  const bool checked = image == kUnchecked;
  SetCheckImage(column, checked ? kChecked : kUnchecked);
  emit checkBoxToggled(column, checked);
}

void CXHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  QStyleOptionHeader header;
  initStyleOption(&header);
  header.rect = rect;
  header.section = logicalIndex;
  header.text = model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
  header.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  header.position = QStyleOptionHeader::Middle;
  style()->drawControl(QStyle::CE_HeaderSection, &header, painter, this);

  const int image = GetCheckImage(logicalIndex);
  if (image != kNoCheckBox) {
    QStyleOptionButton box;
    box.initFrom(this);
    const int side = style()->pixelMetric(QStyle::PM_IndicatorWidth, &box, this);
    box.rect = QRect(rect.left() + kBoxMargin, rect.top() + (rect.height() - side) / 2, side, side);
    box.state = QStyle::State_Enabled | (image == kChecked ? QStyle::State_On : QStyle::State_Off);
    style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, this);
    header.rect.setLeft(box.rect.right() + kBoxMargin);
  }
  header.rect.adjust(kBoxMargin, 0, -kBoxMargin, 0);
  style()->drawControl(QStyle::CE_HeaderLabel, &header, painter, this);
}
