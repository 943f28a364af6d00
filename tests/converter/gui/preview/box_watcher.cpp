// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/converter/gui/preview/box_watcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <algorithm>

BoxWatcher::BoxWatcher(QMessageBox::StandardButton answer) : answer_(answer) {
  connect(&timer_, &QTimer::timeout, this, &BoxWatcher::Look);
  timer_.start(10);
}

BoxWatcher::BoxWatcher(QList<QMessageBox::StandardButton> answers)
    : BoxWatcher(QMessageBox::NoButton) {
  answers_ = std::move(answers);
  inOrder_ = true;
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
    auto known = std::find_if(known_.begin(), known_.end(), [box](const auto& entry) { return entry.first == box; });
    if (known == known_.end()) {
      SeenBox seen{box->windowTitle(), box->text(), box->icon(), {}};
      for (QAbstractButton* button : box->buttons()) seen.buttons << box->standardButton(button);
      seen_ << seen;
      QMessageBox::StandardButton answer = answer_;
      if (inOrder_) answer = answers_.isEmpty() ? QMessageBox::NoButton : answers_.takeFirst();
      known_.append({box, answer});
      known = known_.end() - 1;
    }
    const QMessageBox::StandardButton answer = known->second;
    if (answer != QMessageBox::NoButton && box->button(answer)) box->button(answer)->click();
  }
}
