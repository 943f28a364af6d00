#include "box_watcher.h"

#include <QAbstractButton>
#include <QApplication>

BoxWatcher::BoxWatcher(QMessageBox::StandardButton answer) : answer_(answer) {
  connect(&timer_, &QTimer::timeout, this, &BoxWatcher::Look);
  timer_.start(10);
}

QStringList BoxWatcher::texts() const {
  QStringList result;
  for (const SeenBox& box : seen_) result << box.text;
  return result;
}

void BoxWatcher::Look() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* box = qobject_cast<QMessageBox*>(widget);
    if (!box || !box->isVisible()) continue;
    if (!known_.contains(box)) {
      known_ << box;
      SeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
      for (QAbstractButton* button : box->buttons()) seen.buttons << box->standardButton(button);
      seen_ << seen;
    }
    if (answer_ != QMessageBox::NoButton && box->button(answer_)) box->button(answer_)->click();
  }
}
