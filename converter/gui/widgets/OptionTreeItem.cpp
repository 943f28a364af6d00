// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/OptionTreeItem.h"

#include "converter/gui/widgets/OptionTree.h"

void COptionTreeItem::SetLabelText(const QString& label) {
  m_label = label;
  RefreshInTree();
}

void COptionTreeItem::CommitInTree() {
  if (m_tree) m_tree->Commit(this);
}

void COptionTreeItem::RefreshInTree() {
  if (m_tree) m_tree->RefreshItem(this);
}
