// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/OptionTree.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>

COptionTree::COptionTree(QWidget* parent, unsigned options) : QWidget(parent), m_list(new COptionTreeList(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setCursor(Qt::ArrowCursor);
  if (options & OT_OPTIONS_SHOWINFOWINDOW) {
    m_info = new COptionTreeInfo(this);
    m_info->setFrameShape(QFrame::StyledPanel);
    m_info->setWordWrap(true);
    m_info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_info->setMargin(4);
  }
  connect(m_list, &QTreeWidget::currentItemChanged, this, &COptionTree::OnCurrentRowChanged);
  connect(m_list, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* row) { OpenEditor(ItemOf(row)); });
  connect(m_list, &COptionTreeList::rowsMoved, this, &COptionTree::PlaceEditors);
  connect(m_list, &COptionTreeList::editRequested, this, [this](QTreeWidgetItem* row) { OpenEditor(ItemOf(row)); });
}

COptionTree::~COptionTree() {
  // Editors are widgets inside the list: they go before the list does.
  for (COptionTreeItem* item : m_items) {
    item->m_tree = nullptr;
    delete item;
  }
}

void COptionTree::Insert(COptionTreeItem* item, COptionTreeItem* parent) {
  item->m_tree = this;
  item->m_parent = parent;
  if (parent) {
    COptionTreeItem** link = &parent->m_child;
    while (*link) link = &(*link)->m_sibling;
    *link = item;
    item->m_row = new QTreeWidgetItem(parent->m_row);
  } else {
    if (!m_items.empty()) {
      COptionTreeItem* root = m_items.front();
      while (root->m_sibling) root = root->m_sibling;
      root->m_sibling = item;
    }
    item->m_row = new QTreeWidgetItem(m_list);
  }
  m_items.push_back(item);
  m_rows.insert(item->m_row, item);
  if (QWidget* editor = item->GetEditor()) {
    editor->setParent(m_list->viewport());
    editor->hide();
    editor->installEventFilter(this);
  }
  RefreshItem(item);
}

void COptionTree::Commit(COptionTreeItem* item) {
  if (!item || item->m_tree != this || item->m_editorClosed) return;
  item->m_editorClosed = true;
  HideEditor(item);
  emit itemChanged(item);
  Refresh();
}

void COptionTree::Cancel(COptionTreeItem* item) {
  if (!item || item->m_tree != this || item->m_editorClosed) return;
  item->m_editorClosed = true;
  item->RestoreValue();
  HideEditor(item);
  Refresh();
}

void COptionTree::HideEditor(COptionTreeItem* item) {
  QWidget* editor = item->GetEditor();
  if (!editor) return;
  // Focus stays in the panel: hidden alone, the editor would hand it on to
  // the next control of the window, where a second Enter presses a button.
  QWidget* focus = editor->window()->focusWidget();
  if (focus == editor || editor->isAncestorOf(focus)) m_list->setFocus(Qt::OtherFocusReason);
  editor->hide();
}

void COptionTree::OpenEditor(COptionTreeItem* item) {
  if (!item || item->m_tree != this || !item->m_editorClosed) return;
  QWidget* editor = item->GetEditor();
  if (!editor) return;
  item->m_editorClosed = false;
  item->KeepValue();
  RefreshItem(item);
  editor->setGeometry(m_list->ValueRect(item->m_row));
  editor->show();
  editor->setFocus(Qt::OtherFocusReason);
}

void COptionTree::Refresh() {
  for (COptionTreeItem* item : m_items) RefreshItem(item);
  m_list->viewport()->repaint();
}

COptionTreeItem* COptionTree::ItemLabelled(const QString& label) const {
  for (COptionTreeItem* item : m_items) {
    if (item->GetLabelText() == label) return item;
  }
  return nullptr;
}

void COptionTree::RefreshItem(COptionTreeItem* item) {
  QTreeWidgetItem* row = item->m_row;
  row->setText(0, item->GetLabelText());
  // An open editor covers the value; the list shows it only while closed.
  row->setText(1, item->m_editorClosed ? item->GetDisplayText() : QString());
  row->setExpanded(true);  // categories are never folded
  if (item->IsRootLevel()) {
    // The window's own font, bold; value rows use it as it is.
    QFont bold = font();
    bold.setBold(true);
    row->setFont(0, bold);
    // A category row reads across both columns on the button face.
    row->setFirstColumnSpanned(true);
    row->setBackground(0, m_list->palette().brush(QPalette::Button));
  }
  if (m_info && row == m_list->currentItem()) m_info->setText(item->GetLabelText());
}

void COptionTree::OnCurrentRowChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
  Commit(ItemOf(previous));
  if (m_info) m_info->setText(current ? current->text(0) : QString());
  OpenEditor(ItemOf(current));
}

void COptionTree::PlaceEditors() {
  for (COptionTreeItem* item : m_items) {
    QWidget* editor = item->GetEditor();
    if (editor && !item->m_editorClosed) editor->setGeometry(m_list->ValueRect(item->m_row));
  }
}

// Zero width or height (a minimised window) leaves the layout as it was.
void COptionTree::resizeEvent(QResizeEvent* event) {
  const QSize size = event->size();
  if (size.width() <= 0 || size.height() <= 0) return;
  const int infoHeight = m_info ? kInfoWindowHeight : 0;
  m_list->setGeometry(0, 0, size.width(), qMax(size.height() - infoHeight, 0));
  if (m_info) m_info->setGeometry(0, size.height() - infoHeight, size.width(), infoHeight);
  repaint();
}

// The rows follow a new font of the window (their own font is inherited).
void COptionTree::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    for (COptionTreeItem* item : m_items) RefreshItem(item);
  }
  QWidget::changeEvent(event);
}

// Keys in an open editor: Enter keeps the value, Escape the one it had when
// it opened; Up and Down leave a text field for the next row.
bool COptionTree::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  COptionTreeItem* item = nullptr;
  for (COptionTreeItem* candidate : m_items) {
    if (candidate->GetEditor() == watched) item = candidate;
  }
  if (!item || item->m_editorClosed) return QWidget::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Commit(item);
      return true;
    case Qt::Key_Escape:
      Cancel(item);
      return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
      if (!qobject_cast<QLineEdit*>(watched)) break;
      QApplication::sendEvent(m_list, key);
      return true;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}
