// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/queue/conversion_queue_model.h"

#include <QPalette>

#include "converter/core/request/output_name.h"
#include "converter/gui/widgets/XListColours.h"

ConversionQueueModel::ConversionQueueModel(QObject* parent) : CXListModel(parent) {
  // A view showing the queue gives the cells its own colours.
  const XListColours colours = XListColours::FromPalette(QPalette());
  XListCellData defaults;
  defaults.crText = colours.crWindowText;
  defaults.crBackground = colours.crWindow;
  int column = 0;
  for (const char* heading : {"Input Video Files", "Type", "Size", "Status"})
    InsertColumn(column++, QString::fromUtf8(heading), Qt::AlignLeft, defaults);
}

void ConversionQueueModel::RowInserted(int row) {
  m_records.insert(m_records.begin() + row, std::make_unique<INPUT_VIDEO_ITEM>());
}

void ConversionQueueModel::RowRemoved(int row) { m_records.erase(m_records.begin() + row); }

void ConversionQueueModel::AllRowsRemoved() { m_records.clear(); }

int ConversionQueueModel::AddRow(const QString& path, INPUT_VIDEO_ITEM record) {
  // Rows of one batch never write one file.
  record.strOutputName = DistinctOutputName(
      record.strOutputName, [this](const std::string& name) { return OutputNameTaken(name, -1); });
  const int row = rowCount();
  InsertRow(row, path);
  *m_records[row] = std::move(record);
  const INPUT_VIDEO_ITEM& added = *m_records[row];
  Modify(row, kInputColumn, [&](Cell& cell) {
    cell.data.strToolTip = path;
    cell.data.nCheckedState = 1;
  });
  Modify(row, kTypeColumn, [&](Cell& cell) { cell.text = QString::fromStdString(added.strType); });
  Modify(row, kSizeColumn, [&](Cell& cell) { cell.text = QString::fromStdString(added.strSize); });
  return row;
}

INPUT_VIDEO_ITEM* ConversionQueueModel::Record(int row) {
  return row >= 0 && row < rowCount() ? m_records[row].get() : nullptr;
}

const INPUT_VIDEO_ITEM* ConversionQueueModel::Record(int row) const {
  return row >= 0 && row < rowCount() ? m_records[row].get() : nullptr;
}

bool ConversionQueueModel::OutputNameTaken(const std::string& name, int row) const {
  for (int other = 0; other < rowCount(); ++other) {
    if (other != row && SameOutputName(m_records[other]->strOutputName, name)) return true;
  }
  return false;
}

QString ConversionQueueModel::InputPath(int row) const {
  const Cell* cell = CellAt(row, kInputColumn);
  return cell ? cell->text : QString();
}

bool ConversionQueueModel::IsTicked(int row) const {
  const Cell* cell = CellAt(row, kInputColumn);
  return cell && cell->data.nCheckedState == 1;
}

void ConversionQueueModel::SetTicked(int row, bool ticked) {
  ChangeCell(row, kInputColumn, [&](Cell& cell) { cell.data.nCheckedState = ticked ? 1 : 0; });
}

bool ConversionQueueModel::IsEnabled(int row) const {
  const Cell* cell = CellAt(row, kInputColumn);
  return cell && cell->data.bEnabled;
}

void ConversionQueueModel::SetEnabled(int row, bool enabled) {
  if (IsValid(row, kInputColumn)) SetRowEnabled(row, enabled);
}

void ConversionQueueModel::SetBold(int row, bool bold) {
  ChangeCell(row, kInputColumn, [&](Cell& cell) { cell.data.bBold = bold; });
}

QString ConversionQueueModel::Status(int row) const {
  const Cell* cell = CellAt(row, kStatusColumn);
  return cell ? cell->text : QString();
}

QString ConversionQueueModel::StatusTip(int row) const {
  const Cell* cell = CellAt(row, kStatusColumn);
  return cell ? cell->data.strToolTip : QString();
}

void ConversionQueueModel::SetStatus(int row, const QString& text) {
  ChangeCell(row, kStatusColumn, [&](Cell& cell) { cell.text = text; });
}

void ConversionQueueModel::SetStatusTip(int row, const QString& tip) {
  ChangeCell(row, kStatusColumn, [&](Cell& cell) { cell.data.strToolTip = tip; });
}

void ConversionQueueModel::ShowProgress(int row, int percent) {
  ChangeCell(row, kStatusColumn, [&](Cell& cell) {
    cell.data.bShowProgress = true;
    cell.data.bShowProgressMessage = true;
    cell.data.nProgressPercent = qBound(0, percent, 100);
    // The bar shows its text as given, so the text is renewed with the value.
    cell.data.strProgressText = QString("Converting %1%").arg(percent);
  });
}

void ConversionQueueModel::HideProgress(int row) {
  ChangeCell(row, kStatusColumn, [&](Cell& cell) {
    cell.data.bShowProgress = false;
    cell.data.nProgressPercent = 0;
  });
}

bool ConversionQueueModel::ShowsProgress(int row) const {
  const Cell* cell = CellAt(row, kStatusColumn);
  return cell && cell->data.bShowProgress;
}

int ConversionQueueModel::Progress(int row) const {
  const Cell* cell = CellAt(row, kStatusColumn);
  return cell && cell->data.bShowProgress ? cell->data.nProgressPercent : 0;
}
