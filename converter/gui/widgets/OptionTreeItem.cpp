#include "converter/gui/widgets/OptionTreeItem.h"

#include "converter/gui/widgets/OptionTree.h"

void COptionTreeItem::SetLabelText(const QString& label) {
  label_ = label;
  RefreshInTree();
}

void COptionTreeItem::CommitInTree() {
  if (tree_) tree_->Commit(this);
}

void COptionTreeItem::RefreshInTree() {
  if (tree_) tree_->RefreshItem(this);
}
