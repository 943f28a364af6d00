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

  QString GetLabelText() const { return label_; }
  void SetLabelText(const QString& label);

  COptionTreeItem* GetParent() const { return parent_; }
  COptionTreeItem* GetChild() const { return child_; }
  COptionTreeItem* GetSibling() const { return sibling_; }
  bool IsRootLevel() const { return parent_ == nullptr; }

  // Closed until the editor opens; committing closes it again.
  bool IsEditorClosed() const { return editorClosed_; }

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

  QString label_;
  COptionTreeItem* parent_ = nullptr;
  COptionTreeItem* child_ = nullptr;
  COptionTreeItem* sibling_ = nullptr;
  bool editorClosed_ = true;
  COptionTree* tree_ = nullptr;
  QTreeWidgetItem* row_ = nullptr;
};
