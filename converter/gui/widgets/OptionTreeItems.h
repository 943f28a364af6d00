// SPDX-License-Identifier: GPL-2.0-or-later
// The value kinds of an option tree. Each editable kind is its own Qt
// widget, so the owner fills it with the widget's own calls (addItem,
// setText, setTime...) and commits it before reading the value.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QTimeEdit>

#include "converter/gui/widgets/OptionTreeItem.h"

// A read-only value drawn by the list.
class COptionTreeItemStatic : public COptionTreeItem {
 public:
  void SetStaticText(const QString& text);
  QString GetStaticText() const { return m_text; }
  QString GetDisplayText() const override { return m_text; }

 private:
  QString m_text;
};

class COptionTreeItemEdit : public QLineEdit, public COptionTreeItem {
 public:
  COptionTreeItemEdit();
  QWidget* GetEditor() override { return this; }
  QString GetDisplayText() const override { return text(); }
  void KeepValue() override { m_kept = text(); }
  void RestoreValue() override { setText(m_kept); }

 private:
  QString m_kept;
};

class COptionTreeItemComboBox : public QComboBox, public COptionTreeItem {
 public:
  COptionTreeItemComboBox();
  QWidget* GetEditor() override { return this; }
  QString GetDisplayText() const override { return currentText(); }
  void KeepValue() override { m_kept = currentIndex(); }
  void RestoreValue() override { setCurrentIndex(m_kept); }

 private:
  int m_kept = -1;
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
  void KeepValue() override { m_kept = time(); }
  void RestoreValue() override { setTime(m_kept); }

 private:
  QTime m_kept;
};
