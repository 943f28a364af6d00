// SPDX-License-Identifier: GPL-2.0-or-later
// One row of an option tree: a label, its place in the tree, and for value
// kinds an editor widget. Root items are category rows.
#pragma once

#include <QString>

class COptionTree;
class QTreeWidgetItem;
class QWidget;

class COptionTreeItem {
 public:
  COptionTreeItem() = default;
  virtual ~COptionTreeItem() = default;
  COptionTreeItem(const COptionTreeItem&) = delete;
  COptionTreeItem& operator=(const COptionTreeItem&) = delete;

  QString GetLabelText() const { return m_label; }
  void SetLabelText(const QString& label);

  COptionTreeItem* GetParent() const { return m_parent; }
  COptionTreeItem* GetChild() const { return m_child; }
  COptionTreeItem* GetSibling() const { return m_sibling; }
  bool IsRootLevel() const { return m_parent == nullptr; }

  // Closed until the editor opens; committing closes it again.
  bool IsEditorClosed() const { return m_editorClosed; }

  // The widget that edits the value; null for rows without one.
  virtual QWidget* GetEditor() { return nullptr; }
  // The value as the list shows it while the editor is closed.
  virtual QString GetDisplayText() const { return {}; }
  // An editor that opens keeps its value, to be given back when the edit is cancelled.
  virtual void KeepValue() {}
  virtual void RestoreValue() {}

 protected:
  // Commits this item in its tree (value kinds call it when editing ends).
  void CommitInTree();
  // Tells the tree that what the row shows has changed.
  void RefreshInTree();

 private:
  friend class COptionTree;

  QString m_label;
  COptionTreeItem* m_parent = nullptr;
  COptionTreeItem* m_child = nullptr;
  COptionTreeItem* m_sibling = nullptr;
  bool m_editorClosed = true;
  COptionTree* m_tree = nullptr;
  QTreeWidgetItem* m_row = nullptr;
};
