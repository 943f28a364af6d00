// The main window's queue, file list and options panel, found by name as a
// script would find them.
#pragma once

#include <QWidget>

#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/gui/widgets/OptionTreeItems.h"
#include "converter/gui/widgets/XListCtrl.h"
#include "tests/converter/gui/window/find_control.h"

inline ConversionQueueModel& QueueOf(QWidget& window) {
  return *Find<ConversionQueueModel>(window, "conversionQueue");
}

inline CXListCtrl& FileListOf(QWidget& window) { return *Find<CXListCtrl>(window, "fileList"); }

inline COptionTree& PanelOf(QWidget& window) { return *Find<COptionTree>(window, "optionsPanel"); }

// The panel's item of that label ("Duration", "Destination ", ...), nullptr for none.
inline COptionTreeItem* PanelItemOf(QWidget& window, const QString& label) { return PanelOf(window).ItemLabelled(label); }

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
