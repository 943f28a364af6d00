// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/XListCtrl.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "converter/gui/widgets/XHeaderCtrl.h"
#include "converter/gui/widgets/XListDelegate.h"

namespace {

constexpr int kEmptyTextTop = 10;

}  // namespace

const QString CXListCtrl::kEmptyListText = QStringLiteral("There are no items to show in this view.");

CXListCtrl::CXListCtrl(QWidget* parent)
    : QTableView(parent), m_model(new CXListModel(this)), m_header(new CXHeaderCtrl(this)) {
  m_colours = XListColours::FromPalette(palette());
  setModel(m_model);
  WatchModel();
  setHorizontalHeader(m_header);
  setItemDelegate(new CXListDelegate(this));
  connect(m_header, &CXHeaderCtrl::checkBoxToggled, this, &CXListCtrl::OnHeaderCheckBoxToggled);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  m_header->setStretchLastSection(true);
  setShowGrid(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setWordWrap(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The list is one stop of the window's Tab order; arrows move inside it.
  setTabKeyNavigation(false);
  setMouseTracking(true);
}

XListCellData CXListCtrl::DefaultCell() const {
  XListCellData cell;
  cell.crText = m_colours.crWindowText;
  cell.crBackground = m_colours.crWindow;
  return cell;
}

void CXListCtrl::SetListModel(CXListModel* model) {
  CXListModel* old = m_model;
  old->disconnect(this);
  m_model = model;
  setModel(m_model);
  m_model->UseDefaultColours(m_colours.crWindowText, m_colours.crWindow);
  WatchModel();
  if (old->parent() == this) delete old;
}

void CXListCtrl::WatchModel() {
  connect(m_model, &CXListModel::rowDisabled, this, [this](int row) {
    if (selectionModel())
      selectionModel()->select(m_model->index(row, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
  });
  // Boxes ticked through the model count for the header's box too.
  connect(m_model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& first, const QModelIndex& last) {
    for (int column = first.column(); column <= last.column(); ++column) UpdateHeaderCheckbox(column);
  });
}

int CXListCtrl::InsertColumn(int column, const QString& heading, Qt::Alignment alignment, int width) {
  if (column < 0 || column > GetColumnCount()) return -1;
  m_model->InsertColumn(column, heading, alignment, DefaultCell());
  if (width >= 0) setColumnWidth(column, width);
  return column;
}

int CXListCtrl::InsertItem(int item, const QString& text, int image) {
  if (item < 0 || item > GetItemCount() || GetColumnCount() == 0) return -1;
  m_model->InsertRow(item, text);
  if (image >= 0) SetItemImage(item, 0, image);
  return item;
}

bool CXListCtrl::DeleteItem(int item) {
  if (!m_model->IsValid(item, 0)) return false;
  m_model->RemoveRow(item);
  return true;
}

bool CXListCtrl::DeleteAllItems() {
  m_model->RemoveAllRows();
  for (int column = 0; column < GetColumnCount(); ++column) UpdateHeaderCheckbox(column);
  return true;
}

bool CXListCtrl::SetItemText(int item, int subItem, const QString& text) {
  if (!m_model->IsValid(item, subItem)) return false;
  m_model->Modify(item, subItem, [&](CXListModel::Cell& cell) { cell.text = text; });
  return true;
}

bool CXListCtrl::SetItemText(int item, int subItem, const QString& text, const QColor& textColour,
                             const QColor& backColour) {
  if (!m_model->IsValid(item, subItem)) return false;
  m_model->Modify(item, subItem, [&](CXListModel::Cell& cell) {
    cell.text = text;
    cell.data.crText = textColour;
    cell.data.crBackground = backColour;
  });
  return true;
}

QString CXListCtrl::GetItemText(int item, int subItem) const {
  return m_model->IsValid(item, subItem) ? m_model->At(item, subItem).text : QString();
}

bool CXListCtrl::SetItemImage(int item, int subItem, int image) {
  return ChangeCell(item, subItem, [&](XListCellData& data) { data.nImage = image; });
}

void CXListCtrl::SetImageList(const QList<QPixmap>& images) {
  m_images = images;
  viewport()->update();
}

bool CXListCtrl::GetEnabled(int item) const {
  const XListCellData* cell = GetCellData(item, 0);
  return cell && cell->bEnabled;
}

bool CXListCtrl::SetEnabled(int item, bool enabled) {
  if (!m_model->IsValid(item, 0)) return false;
  m_model->SetRowEnabled(item, enabled);
  return true;
}

bool CXListCtrl::GetBold(int item, int subItem) const {
  const XListCellData* cell = GetCellData(item, subItem);
  return cell && cell->bBold;
}

bool CXListCtrl::SetBold(int item, int subItem, bool bold) {
  return ChangeCell(item, subItem, [&](XListCellData& cell) { cell.bBold = bold; });
}

int CXListCtrl::GetCheckbox(int item, int subItem) const {
  const XListCellData* cell = GetCellData(item, subItem);
  return cell ? cell->nCheckedState : -1;
}

bool CXListCtrl::SetCheckbox(int item, int subItem, int checkedState) {
  if (!m_model->IsValid(item, subItem) || checkedState < -1 || checkedState > 1) return false;
  SetCheckedAndSync(item, subItem, checkedState);
  return true;
}

void CXListCtrl::SetCheckedAndSync(int item, int subItem, int checkedState) {
  // The model's change notice updates the header's box.
  ChangeCell(item, subItem, [&](XListCellData& cell) { cell.nCheckedState = checkedState; });
}

void CXListCtrl::SetHeaderCheckedState(int column, int state) {
  if (column < 0 || column >= GetColumnCount()) return;
  m_header->SetCheckImage(column, state);
}

int CXListCtrl::GetHeaderCheckedState(int column) const { return m_header->GetCheckImage(column); }

// The header's box is ticked when every row's box in the column is ticked;
// rows without a box do not count.
void CXListCtrl::UpdateHeaderCheckbox(int column) {
  if (m_header->GetCheckImage(column) == CXHeaderCtrl::kNoCheckBox) return;
  int boxes = 0;
  bool allChecked = true;
  for (int row = 0; row < GetItemCount(); ++row) {
    const int state = m_model->At(row, column).data.nCheckedState;
    if (state < 0) continue;
    ++boxes;
    allChecked = allChecked && state == 1;
  }
  m_header->SetCheckImage(column, boxes > 0 && allChecked ? CXHeaderCtrl::kChecked : CXHeaderCtrl::kUnchecked);
}

void CXListCtrl::OnHeaderCheckBoxToggled(int column, bool checked) {
  for (int row = 0; row < GetItemCount(); ++row) {
    ChangeCell(row, column, [&](XListCellData& cell) {
      if (cell.nCheckedState >= 0) cell.nCheckedState = checked ? 1 : 0;
    });
  }
}

bool CXListCtrl::SetProgress(int item, int subItem, bool showProgressText, const QString& progressText) {
  return ChangeCell(item, subItem, [&](XListCellData& cell) {
    cell.bShowProgress = true;
    cell.nProgressPercent = 0;
    cell.bShowProgressMessage = showProgressText;
    cell.strProgressText = progressText;
  });
}

bool CXListCtrl::UpdateProgress(int item, int subItem, int percent) {
  const XListCellData* cell = GetCellData(item, subItem);
  if (!cell || !cell->bShowProgress) return false;
  return ChangeCell(item, subItem, [&](XListCellData& data) { data.nProgressPercent = qBound(0, percent, 100); });
}

bool CXListCtrl::DeleteProgress(int item, int subItem) {
  return ChangeCell(item, subItem, [&](XListCellData& cell) {
    cell.bShowProgress = false;
    cell.nProgressPercent = 0;
  });
}

bool CXListCtrl::SetItemToolTipText(int item, int subItem, const QString& text) {
  return ChangeCell(item, subItem, [&](XListCellData& cell) { cell.strToolTip = text; });
}

QString CXListCtrl::GetItemToolTipText(int item, int subItem) const {
  const XListCellData* cell = GetCellData(item, subItem);
  return cell ? cell->strToolTip : QString();
}

const XListCellData* CXListCtrl::GetCellData(int item, int subItem) const {
  return m_model->IsValid(item, subItem) ? &m_model->At(item, subItem).data : nullptr;
}

void CXListCtrl::SetShowSelectionAlways(bool show) {
  m_showSelectionAlways = show;
  viewport()->update();
}

bool CXListCtrl::HasClickableCheckbox(int item, int subItem) const {
  const XListCellData* cell = GetCellData(item, subItem);
  return cell && (cell->nCheckedState == 0 || cell->nCheckedState == 1) && !cell->bShowProgress;
}

void CXListCtrl::ToggleCheckbox(int item, int subItem) {
  SetCheckedAndSync(item, subItem, GetCheckbox(item, subItem) == 1 ? 0 : 1);
  emit checkBoxClicked(item, subItem);
}

void CXListCtrl::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && index.isValid() && HasClickableCheckbox(index.row(), index.column()) &&
      CXListDelegate::CheckBoxRect(visualRect(index), !m_model->At(index.row(), index.column()).text.isEmpty())
          .contains(event->position().toPoint()))
    ToggleCheckbox(index.row(), index.column());
  QTableView::mousePressEvent(event);
}

// Space ticks or unticks the current row's first check box, as a click on it does.
void CXListCtrl::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
    const int row = currentIndex().row();
    for (int column = 0; column < GetColumnCount(); ++column) {
      if (!HasClickableCheckbox(row, column)) continue;
      ToggleCheckbox(row, column);
      event->accept();
      return;
    }
  }
  const int before = currentIndex().row();
  QTableView::keyPressEvent(event);
  if (currentIndex().isValid() && currentIndex().row() != before) emit rowChosenByKey(currentIndex().row());
}

void CXListCtrl::paintEvent(QPaintEvent* event) {
  if (GetItemCount() > 0) {
    QTableView::paintEvent(event);
    return;
  }
  QPainter painter(viewport());
  painter.fillRect(viewport()->rect(), m_colours.crWindow);
  painter.setPen(m_colours.crWindowText);
  const QRect textRect = viewport()->rect().adjusted(0, kEmptyTextTop, 0, 0);
  painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, kEmptyListText);
}

void CXListCtrl::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange) {
    m_colours = XListColours::FromPalette(palette());
    m_model->UseDefaultColours(m_colours.crWindowText, m_colours.crWindow);
    viewport()->update();
  }
  QTableView::changeEvent(event);
}
