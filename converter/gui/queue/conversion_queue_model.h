// SPDX-License-Identifier: GPL-2.0-or-later
// The queue of files to convert: each row's settings record and what the
// row shows (the input path with its tick, type, size, and the status text
// or progress bar). The file list is a view of it; the batch changes rows
// through it.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "converter/core/request/input_video_item.h"
#include "converter/gui/widgets/XListModel.h"

class ConversionQueueModel : public CXListModel {
  Q_OBJECT

 public:
  enum Column { kInputColumn = 0, kTypeColumn = 1, kSizeColumn = 2, kStatusColumn = 3 };

  explicit ConversionQueueModel(QObject* parent = nullptr);

  // Appends a ticked row for the file; its record gets an output name no
  // other row writes. Returns the new row.
  int AddRow(const QString& path, INPUT_VIDEO_ITEM record);
  // The row's record, null for a row out of range.
  INPUT_VIDEO_ITEM* Record(int row);
  const INPUT_VIDEO_ITEM* Record(int row) const;
  // Another row than `row` (-1: any row) writes a file of that name.
  bool OutputNameTaken(const std::string& name, int row) const;

  // Reads give an empty text, false or 0 for a row out of range; changes
  // to such a row do nothing.
  QString InputPath(int row) const;
  bool IsTicked(int row) const;
  void SetTicked(int row, bool ticked);
  bool IsEnabled(int row) const;
  void SetEnabled(int row, bool enabled);
  // The input path in bold marks the row being converted.
  void SetBold(int row, bool bold);
  QString Status(int row) const;
  QString StatusTip(int row) const;
  void SetStatus(int row, const QString& text);
  void SetStatusTip(int row, const QString& tip);
  // The status cell's bar at `percent` (0..100) with "Converting N%" on it.
  void ShowProgress(int row, int percent);
  void HideProgress(int row);
  bool ShowsProgress(int row) const;
  int Progress(int row) const;

 protected:
  void RowInserted(int row) override;
  void RowRemoved(int row) override;
  void AllRowsRemoved() override;

 private:
  template <typename Change>
  void ChangeCell(int row, int column, Change change) {
    if (IsValid(row, column)) Modify(row, column, [&](Cell& cell) { change(cell); });
  }
  const Cell* CellAt(int row, int column) const { return IsValid(row, column) ? &At(row, column) : nullptr; }

  // One per row, in row order; a record keeps its address while rows come
  // and go around it.
  std::vector<std::unique_ptr<INPUT_VIDEO_ITEM>> m_records;
};
