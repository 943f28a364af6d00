// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/FilenameEdit.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include "converter/gui/widgets/path_elide.h"

CFilenameEdit::CFilenameEdit(QWidget* parent) : QLineEdit(parent) {
  // What the user types is the path from then on.
  connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
    m_path = text;
    setToolTip(text);
  });
}

void CFilenameEdit::SetFilename(const QString& path) {
  m_path = path;
  setToolTip(path);
  ShowShortened();
}

void CFilenameEdit::ShowShortened() {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect textRect = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  // A few pixels go to the cursor and the text margins.
  const int width = textRect.width() - 4;
  setText(ElidePathMiddle(m_path, fontMetrics(), width));
  setCursorPosition(0);
}

void CFilenameEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  ShowShortened();
}

void CFilenameEdit::changeEvent(QEvent* event) {
  QLineEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) ShowShortened();
}
