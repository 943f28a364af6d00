// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/OptionTreeItems.h"

void COptionTreeItemStatic::SetStaticText(const QString& text) {
  m_text = text;
  RefreshInTree();
}

COptionTreeItemEdit::COptionTreeItemEdit() {
  connect(this, &QLineEdit::editingFinished, this, [this] { CommitInTree(); });
}

COptionTreeItemComboBox::COptionTreeItemComboBox() {
  connect(this, &QComboBox::activated, this, [this] { CommitInTree(); });
}

const QString COptionTreeItemDate::kDefaultFormat = QStringLiteral("HH:mm:ss");

COptionTreeItemDate::COptionTreeItemDate() {
  setDisplayFormat(kDefaultFormat);
  connect(this, &QTimeEdit::editingFinished, this, [this] { CommitInTree(); });
}
