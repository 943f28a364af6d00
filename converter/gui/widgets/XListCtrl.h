// SPDX-License-Identifier: GPL-2.0-or-later
// A report list that draws every cell itself from its XListCellData record:
// check boxes, progress bars, bold and grey text, tool tips. It shows a list
// model of its own, or one its owner keeps (SetListModel). Every operation
// on a row or cell checks the row and the column first and does nothing
// (false or -1) when either is out of range.
#pragma once

#include <QList>
#include <QPixmap>
#include <QTableView>

#include "converter/gui/widgets/XListColours.h"
#include "converter/gui/widgets/XListModel.h"

class CXHeaderCtrl;

class CXListCtrl : public QTableView {
  Q_OBJECT

 public:
  static const QString kEmptyListText;

  explicit CXListCtrl(QWidget* parent = nullptr);

  // Shows `model` instead of the rows shown so far; the caller keeps it for
  // the list's life. Its cells take the list's default colours.
  void SetListModel(CXListModel* model);
  CXListModel* GetListModel() const { return m_model; }

  int InsertColumn(int column, const QString& heading, Qt::Alignment alignment = Qt::AlignLeft, int width = -1);
  int GetColumnCount() const { return m_model->columnCount(); }

  // Returns the new row's index, or -1.
  int InsertItem(int item, const QString& text, int image = -1);
  bool DeleteItem(int item);
  bool DeleteAllItems();
  int GetItemCount() const { return m_model->rowCount(); }
  // The first row whose first cell reads `text`, or -1.
  int FindItem(const QString& text) const { return m_model->FindRow(text); }

  bool SetItemText(int item, int subItem, const QString& text);
  bool SetItemText(int item, int subItem, const QString& text, const QColor& textColour, const QColor& backColour);
  QString GetItemText(int item, int subItem) const;
  bool SetItemImage(int item, int subItem, int image);
  void SetImageList(const QList<QPixmap>& images);
  const QList<QPixmap>& GetImageList() const { return m_images; }

  bool GetEnabled(int item) const;
  // Disabling a row also takes it out of the selection.
  bool SetEnabled(int item, bool enabled);
  bool GetBold(int item, int subItem) const;
  bool SetBold(int item, int subItem, bool bold);

  // -1 when the cell has no check box (or is out of range), else 0 or 1.
  int GetCheckbox(int item, int subItem) const;
  bool SetCheckbox(int item, int subItem, int checkedState);
  // Header check box of a column: 0 none, 1 unchecked, 2 checked.
  void SetHeaderCheckedState(int column, int state);
  int GetHeaderCheckedState(int column) const;

  bool SetProgress(int item, int subItem, bool showProgressText = true, const QString& progressText = {});
  bool UpdateProgress(int item, int subItem, int percent);
  bool DeleteProgress(int item, int subItem);

  bool SetItemToolTipText(int item, int subItem, const QString& text);
  QString GetItemToolTipText(int item, int subItem) const;

  // The whole record of a cell, or null when out of range.
  const XListCellData* GetCellData(int item, int subItem) const;

  // Whether a selected row keeps a visible mark while the list has no focus.
  void SetShowSelectionAlways(bool show);
  bool GetShowSelectionAlways() const { return m_showSelectionAlways; }
  const XListColours& GetColours() const { return m_colours; }
  CXHeaderCtrl* GetHeaderCtrl() const { return m_header; }

 signals:
  void checkBoxClicked(int row, int column);
  // The arrow keys (or Home, End, Page Up, Page Down) made another row current.
  void rowChosenByKey(int row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  XListCellData DefaultCell() const;
  // Keeps the header's boxes and the selection in step with the cells.
  void WatchModel();
  template <typename Change>
  bool ChangeCell(int item, int subItem, Change change) {
    if (!m_model->IsValid(item, subItem)) return false;
    m_model->Modify(item, subItem, [&](CXListModel::Cell& cell) { change(cell.data); });
    return true;
  }
  void SetCheckedAndSync(int item, int subItem, int checkedState);
  // A box the user can flip: present, and not hidden under a progress bar.
  bool HasClickableCheckbox(int item, int subItem) const;
  // Flips the box as a user does and tells the owner.
  void ToggleCheckbox(int item, int subItem);
  void UpdateHeaderCheckbox(int column);
  void OnHeaderCheckBoxToggled(int column, bool checked);

  CXListModel* m_model;
  CXHeaderCtrl* m_header;
  XListColours m_colours;
  QList<QPixmap> m_images;
  bool m_showSelectionAlways = false;
};
