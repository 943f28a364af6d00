// SPDX-License-Identifier: GPL-2.0-or-later
// Draws the file list's cells: progress bars, check boxes with a shortened
// path beside them, or an image and text.
#pragma once

#include <QStyledItemDelegate>

class CXListCtrl;
struct XListCellData;

class CXListDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  explicit CXListDelegate(CXListCtrl* list);

  // Where a cell's check box sits: 9 pixels in from the left, or centred
  // when the cell has no text.
  static QRect CheckBoxRect(const QRect& cell, bool hasText);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  void DrawProgress(QPainter* painter, const QRect& cell, const XListCellData& data) const;
  void DrawCheckBox(QPainter* painter, const QRect& cell, const QString& text, const XListCellData& data,
                    const QColor& colour) const;
  void DrawImageAndText(QPainter* painter, const QRect& cell, const QString& text, const XListCellData& data,
                        Qt::Alignment alignment, const QColor& colour) const;

  CXListCtrl* m_list;
};
