#include "converter/gui/widgets/OptionTree.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QResizeEvent>

COptionTree::COptionTree(QWidget* parent, unsigned options) : QWidget(parent), list_(new COptionTreeList(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setCursor(Qt::ArrowCursor);
  if (options & OT_OPTIONS_SHOWINFOWINDOW) {
    info_ = new COptionTreeInfo(this);
    info_->setFrameShape(QFrame::StyledPanel);
    info_->setWordWrap(true);
    info_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    info_->setMargin(4);
  }
  connect(list_, &QTreeWidget::currentItemChanged, this, &COptionTree::OnCurrentRowChanged);
  connect(list_, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem* row) { OpenEditor(ItemOf(row)); });
  connect(list_, &COptionTreeList::rowsMoved, this, &COptionTree::PlaceEditors);
  connect(list_, &COptionTreeList::editRequested, this, [this](QTreeWidgetItem* row) { OpenEditor(ItemOf(row)); });
}

COptionTree::~COptionTree() {
  // Editors are widgets inside the list: they go before the list does.
  for (COptionTreeItem* item : items_) {
    item->tree_ = nullptr;
    delete item;
  }
}

void COptionTree::Insert(COptionTreeItem* item, COptionTreeItem* parent) {
  item->tree_ = this;
  item->parent_ = parent;
  if (parent) {
    COptionTreeItem** link = &parent->child_;
    while (*link) link = &(*link)->sibling_;
    *link = item;
    item->row_ = new QTreeWidgetItem(parent->row_);
  } else {
    if (!items_.empty()) {
      COptionTreeItem* root = items_.front();
      while (root->sibling_) root = root->sibling_;
      root->sibling_ = item;
    }
    item->row_ = new QTreeWidgetItem(list_);
  }
  items_.push_back(item);
  rows_.insert(item->row_, item);
  if (QWidget* editor = item->GetEditor()) {
    editor->setParent(list_->viewport());
    editor->hide();
    editor->installEventFilter(this);
  }
  RefreshItem(item);
}

void COptionTree::Commit(COptionTreeItem* item) {
  if (!item || item->tree_ != this || item->editorClosed_) return;
  item->editorClosed_ = true;
  HideEditor(item);
  emit itemChanged(item);
  Refresh();
}

void COptionTree::Cancel(COptionTreeItem* item) {
  if (!item || item->tree_ != this || item->editorClosed_) return;
  item->editorClosed_ = true;
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
  if (focus == editor || editor->isAncestorOf(focus)) list_->setFocus(Qt::OtherFocusReason);
  editor->hide();
}

void COptionTree::OpenEditor(COptionTreeItem* item) {
  if (!item || item->tree_ != this || !item->editorClosed_) return;
  QWidget* editor = item->GetEditor();
  if (!editor) return;
  item->editorClosed_ = false;
  item->KeepValue();
  RefreshItem(item);
  editor->setGeometry(list_->ValueRect(item->row_));
  editor->show();
  editor->setFocus(Qt::OtherFocusReason);
}

void COptionTree::Refresh() {
  for (COptionTreeItem* item : items_) RefreshItem(item);
  list_->viewport()->repaint();
}

COptionTreeItem* COptionTree::ItemLabelled(const QString& label) const {
  for (COptionTreeItem* item : items_) {
    if (item->GetLabelText() == label) return item;
  }
  return nullptr;
}

void COptionTree::RefreshItem(COptionTreeItem* item) {
  QTreeWidgetItem* row = item->row_;
  row->setText(0, item->GetLabelText());
  // An open editor covers the value; the list shows it only while closed.
  row->setText(1, item->editorClosed_ ? item->GetDisplayText() : QString());
  row->setExpanded(true);  // categories are never folded
  if (item->IsRootLevel()) {
    // The window's own font, bold; value rows use it as it is.
    QFont bold = font();
    bold.setBold(true);
    row->setFont(0, bold);
    // A category row reads across both columns on the button face.
    row->setFirstColumnSpanned(true);
    row->setBackground(0, list_->palette().brush(QPalette::Button));
  }
  if (info_ && row == list_->currentItem()) info_->setText(item->GetLabelText());
}

void COptionTree::OnCurrentRowChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous) {
  Commit(ItemOf(previous));
  if (info_) info_->setText(current ? current->text(0) : QString());
  OpenEditor(ItemOf(current));
}

void COptionTree::PlaceEditors() {
  for (COptionTreeItem* item : items_) {
    QWidget* editor = item->GetEditor();
    if (editor && !item->editorClosed_) editor->setGeometry(list_->ValueRect(item->row_));
  }
}

// Zero width or height (a minimised window) leaves the layout as it was.
void COptionTree::resizeEvent(QResizeEvent* event) {
  const QSize size = event->size();
  if (size.width() <= 0 || size.height() <= 0) return;
  const int infoHeight = info_ ? kInfoWindowHeight : 0;
  list_->setGeometry(0, 0, size.width(), qMax(size.height() - infoHeight, 0));
  if (info_) info_->setGeometry(0, size.height() - infoHeight, size.width(), infoHeight);
  repaint();
}

// The rows follow a new font of the window (their own font is inherited).
void COptionTree::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) {
    for (COptionTreeItem* item : items_) RefreshItem(item);
  }
  QWidget::changeEvent(event);
}

// Keys in an open editor: Enter keeps the value, Escape the one it had when
// it opened; Up and Down leave a text field for the next row.
bool COptionTree::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  COptionTreeItem* item = nullptr;
  for (COptionTreeItem* candidate : items_) {
    if (candidate->GetEditor() == watched) item = candidate;
  }
  if (!item || item->editorClosed_) return QWidget::eventFilter(watched, event);
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
      QApplication::sendEvent(list_, key);
      return true;
    default:
      break;
  }
  return QWidget::eventFilter(watched, event);
}
