// Answers the program's message boxes while a test waits in them, and keeps
// what each one showed.
#pragma once

#include <QMessageBox>
#include <QObject>
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
  const QList<SeenBox>& seen() const { return seen_; }
  QStringList texts() const;

 private:
  void Look();

  QMessageBox::StandardButton answer_;
  QTimer timer_;
  QList<SeenBox> seen_;
  QList<const QMessageBox*> known_;
};
