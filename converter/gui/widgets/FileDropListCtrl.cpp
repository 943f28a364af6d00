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
  mode_ = mode;
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
  const int kind = ClassifyDroppedPath(mode_, path);
  if (kind == 0) {
    if (mode_.pfnRefused) {
      const DropRefusal refused = mode_.pfnRefused;
      refused(*this, droppedPath);
    }
    return;
  }
  if (mode_.iMask & DropMode::DL_USE_CALLBACK) {
    // A copy, so the callback may set another mode.
    const DropCallback callback = mode_.pfnCallback;
    callback(*this, path, static_cast<DropKind>(kind));
    return;
  }
  if (!(mode_.iMask & DropMode::DL_ALLOW_DUPLICATES) && FindItem(path) >= 0) return;
  InsertItem(0, path);
}
