// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/XListModel.h"

int CXListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CXListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant CXListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !IsValid(index.row(), index.column())) return {};
  const Cell& cell = At(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole:
      return cell.text;
    case Qt::ToolTipRole:
      // The whole text: a long path is readable nowhere else.
      if (cell.data.strToolTip.isEmpty()) return {};
      return cell.data.strToolTip;
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(m_columns[index.column()].alignment | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant CXListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return m_columns[section].title;
  if (role == Qt::TextAlignmentRole) return QVariant::fromValue(m_columns[section].alignment | Qt::AlignVCenter);
  return {};
}

bool CXListModel::IsValid(int row, int column) const {
  return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
}

void CXListModel::InsertColumn(int column, const QString& title, Qt::Alignment alignment,
                               const XListCellData& defaults) {
  beginInsertColumns({}, column, column);
  m_columns.insert(m_columns.begin() + column, Column{title, alignment, defaults});
  for (auto& row : m_rows) row.insert(row.begin() + column, Cell{QString(), defaults});
  endInsertColumns();
}

void CXListModel::InsertRow(int row, const QString& text) {
  beginInsertRows({}, row, row);
  std::vector<Cell> cells;
  for (const Column& column : m_columns) cells.push_back(Cell{QString(), column.defaults});
  cells.front().text = text;
  m_rows.insert(m_rows.begin() + row, std::move(cells));
  RowInserted(row);
  endInsertRows();
}

void CXListModel::RemoveRow(int row) {
  beginRemoveRows({}, row, row);
  m_rows.erase(m_rows.begin() + row);
  RowRemoved(row);
  endRemoveRows();
}

void CXListModel::RemoveAllRows() {
  beginResetModel();
  m_rows.clear();
  AllRowsRemoved();
  endResetModel();
}

int CXListModel::FindRow(const QString& text) const {
  for (size_t row = 0; row < m_rows.size(); ++row) {
    if (m_rows[row].front().text == text) return static_cast<int>(row);
  }
  return -1;
}

void CXListModel::SetRowEnabled(int row, bool enabled) {
  m_rows[row].front().data.bEnabled = enabled;
  RedrawRow(row);
  if (!enabled) emit rowDisabled(row);
}

void CXListModel::RedrawRow(int row) {
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void CXListModel::UseDefaultColours(const QColor& text, const QColor& back) {
  for (size_t column = 0; column < m_columns.size(); ++column) {
    XListCellData& defaults = m_columns[column].defaults;
    for (auto& row : m_rows) {
      XListCellData& cell = row[column].data;
      if (cell.crText == defaults.crText) cell.crText = text;
      if (cell.crBackground == defaults.crBackground) cell.crBackground = back;
    }
    defaults.crText = text;
    defaults.crBackground = back;
  }
  if (!m_rows.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}
