// The main window's queue, file list and options panel, found by name as a
// script would find them.
#pragma once

#include <QWidget>

#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/gui/widgets/OptionTreeItems.h"
#include "converter/gui/widgets/XListCtrl.h"

inline ConversionQueueModel& QueueOf(QWidget& window) {
  return *window.findChild<ConversionQueueModel*>(QStringLiteral("conversionQueue"));
}

inline CXListCtrl& FileListOf(QWidget& window) { return *window.findChild<CXListCtrl*>(QStringLiteral("fileList")); }

inline COptionTree& PanelOf(QWidget& window) { return *window.findChild<COptionTree*>(QStringLiteral("optionsPanel")); }

// The panel's item with an editor of that kind and label ("Start", "Quality", ...).
template <typename Item>
Item* PanelEditorOf(QWidget& window, const QString& label) {
  for (QWidget* editor : PanelOf(window).findChildren<QWidget*>()) {
    auto* item = dynamic_cast<Item*>(editor);
    if (item && item->GetLabelText() == label) return item;
  }
  return nullptr;
}

inline COptionTreeItemEdit& OutputNameEditOf(QWidget& window) {
  return *PanelEditorOf<COptionTreeItemEdit>(window, QStringLiteral("Destination "));
}
