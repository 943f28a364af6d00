// The file list's rows: each cell's text and its XListCellData record.
// Records live exactly as long as their rows.
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
  // Existing rows get a cell made from `defaults` in the new column.
  void InsertColumn(int column, const QString& title, Qt::Alignment alignment, const XListCellData& defaults);
  // Every cell of the new row starts from `defaults`.
  void InsertRow(int row, const QString& text, const XListCellData& defaults);
  void RemoveRow(int row);
  void RemoveAllRows();

  const Cell& At(int row, int column) const { return rows_[row][column]; }
  // Changes a cell and has it redrawn.
  template <typename Change>
  void Modify(int row, int column, Change change) {
    change(rows_[row][column]);
    const QModelIndex cell = index(row, column);
    emit dataChanged(cell, cell);
  }
  // Has every cell of the row redrawn (its enabled state lives in the first).
  void RedrawRow(int row);
  // Cells still in the old default colours take the new ones.
  void ReplaceDefaultColours(const QColor& oldText, const QColor& newText, const QColor& oldBack,
                             const QColor& newBack);
  // The first row whose first cell has this text, or -1.
  int FindRow(const QString& text) const;

 private:
  struct Column {
    QString title;
    Qt::Alignment alignment;
  };
  std::vector<Column> columns_;
  std::vector<std::vector<Cell>> rows_;
};
