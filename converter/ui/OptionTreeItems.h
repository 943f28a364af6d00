// The value kinds of an option tree. Each editable kind is its own Qt
// widget, so the owner fills it with the widget's own calls (addItem,
// setText, setTime...) and commits it before reading the value.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QTimeEdit>

#include "OptionTreeItem.h"

// A read-only value drawn by the list.
class COptionTreeItemStatic : public COptionTreeItem {
 public:
  void SetStaticText(const QString& text);
  QString GetStaticText() const { return text_; }
  QString GetDisplayText() const override { return text_; }

 private:
  QString text_;
};

class COptionTreeItemEdit : public QLineEdit, public COptionTreeItem {
 public:
  COptionTreeItemEdit();
  QWidget* GetEditor() override { return this; }
  QString GetDisplayText() const override { return text(); }
};

class COptionTreeItemComboBox : public QComboBox, public COptionTreeItem {
 public:
  COptionTreeItemComboBox();
  QWidget* GetEditor() override { return this; }
  QString GetDisplayText() const override { return currentText(); }
};

// A time of day, shown "HH:mm:ss" unless another format is set.
class COptionTreeItemDate : public QTimeEdit, public COptionTreeItem {
 public:
  static const QString kDefaultFormat;

  COptionTreeItemDate();
  // Times outside the range are brought inside it.
  void SetTimeRange(const QTime& earliest, const QTime& latest) { setTimeRange(earliest, latest); }
  QWidget* GetEditor() override { return this; }
  QString GetDisplayText() const override { return time().toString(displayFormat()); }
};
