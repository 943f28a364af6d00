// SPDX-License-Identifier: GPL-2.0-or-later
// Answers the program's message boxes while a test waits in them, and keeps
// what each one showed.
#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QStringList>
#include <QTimer>

struct SeenBox {
  QString caption;
  QString text;
  QMessageBox::Icon icon;
  QList<QMessageBox::StandardButton> buttons;
};

class BoxWatcher : public QObject {
 public:
  // Presses `answer` on every box that shows up; NoButton leaves them open
  // (for boxes that close themselves).
  explicit BoxWatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);
  // Gives each new box the next answer of the list, in order; boxes beyond
  // the list are left open.
  explicit BoxWatcher(QList<QMessageBox::StandardButton> answers);
  const QList<SeenBox>& seen() const { return seen_; }
  QStringList texts() const;

 private:
  void Look();

  QMessageBox::StandardButton answer_;
  QList<QMessageBox::StandardButton> answers_;
  bool inOrder_ = false;
  QTimer timer_;
  QList<SeenBox> seen_;
  // Boxes seen and the answer each got; a closed box drops out by itself.
  QList<QPair<QPointer<QMessageBox>, QMessageBox::StandardButton>> known_;
};
