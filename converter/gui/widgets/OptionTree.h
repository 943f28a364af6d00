// SPDX-License-Identifier: GPL-2.0-or-later
// A settings panel: labelled values grouped under bold category rows, each
// value edited in place by its own widget. Committing an open item closes
// its editor and reports it with itemChanged; an item already closed is
// left alone. Rows are drawn in the window's font.
#pragma once

#include <QHash>
#include <QLabel>
#include <QWidget>
#include <vector>

#include "converter/gui/widgets/OptionTreeItem.h"
#include "converter/gui/widgets/OptionTreeItems.h"
#include "converter/gui/widgets/OptionTreeList.h"

// The optional pane under the list that names the current item.
class COptionTreeInfo : public QLabel {
 public:
  using QLabel::QLabel;
};

class COptionTree : public QWidget {
  Q_OBJECT

 public:
  enum Options : unsigned { OT_OPTIONS_SHOWINFOWINDOW = 0x01 };
  static constexpr int kInfoWindowHeight = 50;

  explicit COptionTree(QWidget* parent = nullptr, unsigned options = 0);
  ~COptionTree() override;

  // Takes ownership; a null parent makes a category row. Returns the item.
  template <typename Item>
  Item* InsertItem(Item* item, COptionTreeItem* parent = nullptr) {
    Insert(item, parent);
    return item;
  }

  // Closes an open editor, takes its value and sends itemChanged.
  void Commit(COptionTreeItem* item);
  // Closes an open editor with the value it had when it opened; sends nothing.
  void Cancel(COptionTreeItem* item);
  // Opens the item's editor over its value (rows without one stay as they are).
  void OpenEditor(COptionTreeItem* item);
  // Shows values changed from outside at once.
  void Refresh();
  // Brings one row in line with its item.
  void RefreshItem(COptionTreeItem* item);
  // The item of that label, nullptr for none.
  COptionTreeItem* ItemLabelled(const QString& label) const;

  COptionTreeList* GetList() const { return m_list; }
  COptionTreeInfo* GetInfo() const { return m_info; }

 signals:
  void itemChanged(COptionTreeItem* item);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Insert(COptionTreeItem* item, COptionTreeItem* parent);
  void HideEditor(COptionTreeItem* item);
  void PlaceEditors();
  void OnCurrentRowChanged(QTreeWidgetItem* current, QTreeWidgetItem* previous);
  COptionTreeItem* ItemOf(QTreeWidgetItem* row) const { return m_rows.value(row, nullptr); }

  COptionTreeList* m_list;
  COptionTreeInfo* m_info = nullptr;
  std::vector<COptionTreeItem*> m_items;  // owned, deleted before the widgets
  QHash<QTreeWidgetItem*, COptionTreeItem*> m_rows;
};
