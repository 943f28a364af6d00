// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's controls, its queue and the options panel's items,
// found by name as a script would find them; a missing or differently typed
// control fails the test.
#pragma once

#include <QLatin1String>
#include <QObject>
#include <QWidget>
#include <stdexcept>
#include <string>

#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/gui/widgets/OptionTreeItems.h"
#include "converter/gui/widgets/XListCtrl.h"

template <typename Control>
Control* Find(const QObject& window, const char* name) {
  Control* control = window.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) throw std::runtime_error(std::string("the window has no control named ") + name);
  return control;
}

inline ConversionQueueModel& QueueOf(QWidget& window) {
  return *Find<ConversionQueueModel>(window, "conversionQueue");
}

inline COptionTree& PanelOf(QWidget& window) { return *Find<COptionTree>(window, "optionsPanel"); }

// The panel's item of that label ("Duration", "Destination ", ...), nullptr for none.
inline COptionTreeItem* PanelItemOf(QWidget& window, const QString& label) { return PanelOf(window).ItemLabelled(label); }

// The panel's item with an editor of that kind and label ("Start", "Quality", ...).
template <typename Item>
Item* PanelEditorOf(QWidget& window, const QString& label) {
  return dynamic_cast<Item*>(PanelItemOf(window, label));
}

inline COptionTreeItemEdit& OutputNameEditOf(QWidget& window) {
  return *PanelEditorOf<COptionTreeItemEdit>(window, QStringLiteral("Destination "));
}
