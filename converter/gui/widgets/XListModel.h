// SPDX-License-Identifier: GPL-2.0-or-later
// A report list's rows: each cell's text and its XListCellData record.
// Cells live exactly as long as their rows; a subclass keeping a record per
// row hears of every row added and removed.
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

#include "converter/gui/widgets/XListCellData.h"

class CXListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  struct Cell {
    QString text;
    XListCellData data;
  };

  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  bool IsValid(int row, int column) const;
  // Existing rows and rows added later get a cell made from `defaults` in
  // the new column.
  void InsertColumn(int column, const QString& title, Qt::Alignment alignment, const XListCellData& defaults);
  // Every cell of the new row starts from its column's defaults.
  void InsertRow(int row, const QString& text);
  void RemoveRow(int row);
  void RemoveAllRows();

  const Cell& At(int row, int column) const { return m_rows[row][column]; }
  // Changes a cell and has it redrawn.
  template <typename Change>
  void Modify(int row, int column, Change change) {
    change(m_rows[row][column]);
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
  }
  // The row's state lives in its first cell; the whole row is redrawn.
  void SetRowEnabled(int row, bool enabled);
  // Has every cell of the row redrawn.
  void RedrawRow(int row);
  // New default colours: cells still in a column's old defaults take them.
  void UseDefaultColours(const QColor& text, const QColor& back);
  // The first row whose first cell has this text, or -1.
  int FindRow(const QString& text) const;

 signals:
  // A row was greyed out; views take it out of their selection.
  void rowDisabled(int row);

 protected:
  // Called inside the model's insert and remove notices, so a subclass's
  // per-row records match the rows whenever a view asks.
  virtual void RowInserted(int /*row*/) {}
  virtual void RowRemoved(int /*row*/) {}
  virtual void AllRowsRemoved() {}

 private:
  struct Column {
    QString title;
    Qt::Alignment alignment;
    XListCellData defaults;
  };
  std::vector<Column> m_columns;
  std::vector<std::vector<Cell>> m_rows;
};
