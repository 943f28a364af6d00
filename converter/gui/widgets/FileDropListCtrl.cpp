// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/FileDropListCtrl.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

CFileDropListCtrl::CFileDropListCtrl(QWidget* parent) : CXListCtrl(parent) {
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
}

bool CFileDropListCtrl::SetDropMode(const DropMode& mode) {
  if (!mode.IsUsable()) return false;
  m_mode = mode;
  return true;
}

void CFileDropListCtrl::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void CFileDropListCtrl::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasUrls()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void CFileDropListCtrl::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasUrls()) {
    event->ignore();
    return;
  }
  for (const QUrl& url : event->mimeData()->urls()) {
    if (url.isLocalFile()) TakeDroppedPath(url.toLocalFile());
  }
  event->acceptProposedAction();
}

void CFileDropListCtrl::TakeDroppedPath(const QString& droppedPath) {
  const QString path = ResolveDroppedPath(droppedPath);
  const int kind = ClassifyDroppedPath(m_mode, path);
  if (kind == 0) {
    if (m_mode.pfnRefused) {
      const DropRefusal refused = m_mode.pfnRefused;
      refused(*this, droppedPath);
    }
    return;
  }
  if (m_mode.iMask & DropMode::DL_USE_CALLBACK) {
    // A copy, so the callback may set another mode.
    const DropCallback callback = m_mode.pfnCallback;
    callback(*this, path, static_cast<DropKind>(kind));
    return;
  }
  if (!(m_mode.iMask & DropMode::DL_ALLOW_DUPLICATES) && FindItem(path) >= 0) return;
  InsertItem(0, path);
}
