// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/XListDelegate.h"

#include <QPainter>
#include <QPolygon>
#include <QStyleOptionProgressBar>

#include "converter/gui/widgets/XListCtrl.h"
#include "converter/gui/widgets/path_elide.h"

namespace {

constexpr int kCheckBoxIndent = 9;
constexpr int kCheckBoxTextGap = 4;
constexpr int kTextMargin = 4;

}  // namespace

CXListDelegate::CXListDelegate(CXListCtrl* list) : QStyledItemDelegate(list), m_list(list) {}

QRect CXListDelegate::CheckBoxRect(const QRect& cell, bool hasText) {
  const int side = qMax(cell.height() - 1, 1);
  const int left = hasText ? cell.left() + kCheckBoxIndent : cell.left() + (cell.width() - side) / 2;
  return QRect(left, cell.top(), side, side);
}

void CXListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const auto* model = static_cast<const CXListModel*>(index.model());
  const CXListModel::Cell& cell = model->At(index.row(), index.column());
  const XListColours& colours = m_list->GetColours();
  const bool rowEnabled = model->At(index.row(), 0).data.bEnabled;

  QColor text = rowEnabled ? cell.data.crText : colours.crGrayText;
  QColor back = cell.data.crBackground;
  if (option.state & QStyle::State_Selected) {
    if (m_list->hasFocus()) {
      text = colours.crHighLightText;
      back = colours.crHighLight;
    } else if (m_list->GetShowSelectionAlways()) {
      text = colours.crWindowText;
      back = colours.crBtnFace;
    }
  }

  painter->save();
  painter->setClipRect(option.rect);
  QFont font = option.font;
  font.setBold(cell.data.bBold);
  painter->setFont(font);
  painter->fillRect(option.rect, back);
  if (cell.data.bShowProgress) {
    DrawProgress(painter, option.rect, cell.data);
  } else if (cell.data.nCheckedState == 0 || cell.data.nCheckedState == 1) {
    DrawCheckBox(painter, option.rect, cell.text, cell.data, text);
  } else {
    const Qt::Alignment alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
    DrawImageAndText(painter, option.rect, cell.text, cell.data, alignment, text);
  }
  painter->restore();
}

void CXListDelegate::DrawProgress(QPainter* painter, const QRect& cell, const XListCellData& data) const {
  // The style draws bar and label in the list's own palette, so the label
  // reads on the bar whether the row is selected or not, light or dark.
  QStyleOptionProgressBar bar;
  bar.initFrom(m_list);
  bar.state |= QStyle::State_Horizontal;
  bar.rect = cell.adjusted(1, 1, -1, -1);
  bar.minimum = 0;
  bar.maximum = 100;
  bar.progress = qBound(0, data.nProgressPercent, 100);
  bar.textVisible = data.bShowProgressMessage;
  bar.text = data.strProgressText.isEmpty() ? QStringLiteral("%1%").arg(bar.progress) : data.strProgressText;
  bar.textAlignment = Qt::AlignCenter;
  bar.fontMetrics = painter->fontMetrics();
  m_list->style()->drawControl(QStyle::CE_ProgressBar, &bar, painter, m_list);
}

void CXListDelegate::DrawCheckBox(QPainter* painter, const QRect& cell, const QString& text,
                                  const XListCellData& data, const QColor& colour) const {
  const XListColours& colours = m_list->GetColours();
  const QRect box = CheckBoxRect(cell, !text.isEmpty());
  // A sunken square: dark edges top and left, light ones bottom and right.
  painter->fillRect(box, colours.crWindow);
  painter->setPen(colours.crBtnShadow);
  painter->drawLine(box.topLeft(), box.topRight());
  painter->drawLine(box.topLeft(), box.bottomLeft());
  painter->setPen(colours.crBtnHighLight);
  painter->drawLine(box.bottomLeft(), box.bottomRight());
  painter->drawLine(box.topRight(), box.bottomRight());
  if (data.nCheckedState == 1) {
    const QRectF mark = QRectF(box).adjusted(box.width() * 0.22, box.height() * 0.22, -box.width() * 0.22,
                                            -box.height() * 0.22);
    QPen pen(colours.crGrayText, qMax(2.0, box.width() / 8.0));
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(pen);
    const QPointF tick[] = {{mark.left(), mark.center().y()},
                            {mark.left() + mark.width() * 0.38, mark.bottom()},
                            {mark.right(), mark.top()}};
    painter->drawPolyline(tick, 3);
    painter->restore();
  }
  if (text.isEmpty()) return;
  const QRect textRect(box.right() + 1 + kCheckBoxTextGap, cell.top(), cell.right() - box.right() - kCheckBoxTextGap,
                       cell.height());
  painter->setPen(colour);
  painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    ElidePathMiddle(text, painter->fontMetrics(), textRect.width()));
}

void CXListDelegate::DrawImageAndText(QPainter* painter, const QRect& cell, const QString& text,
                                      const XListCellData& data, Qt::Alignment alignment,
                                      const QColor& colour) const {
  QRect textRect = cell.adjusted(kTextMargin, 0, -kTextMargin, 0);
  const QList<QPixmap>& images = m_list->GetImageList();
  if (data.nImage >= 0 && data.nImage < images.size()) {
    const QPixmap& image = images[data.nImage];
    const QSize size = image.deviceIndependentSize().toSize();
    painter->drawPixmap(textRect.left(), cell.top() + (cell.height() - size.height()) / 2, image);
    textRect.setLeft(textRect.left() + size.width() + kTextMargin);
  }
  painter->setPen(colour);
  painter->drawText(textRect, alignment | Qt::AlignVCenter | Qt::TextSingleLine,
                    painter->fontMetrics().elidedText(text, Qt::ElideRight, textRect.width()));
}
