// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/widgets/message_box.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

namespace {

QMessageBox::Icon IconOf(unsigned style) {
  switch (style & 0xF0) {
    case kMbIconError: return QMessageBox::Critical;
    case kMbIconQuestion: return QMessageBox::Question;
    case kMbIconWarning: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

struct ButtonChoice {
  QMessageBox::StandardButton button;
  int result;
};

// The buttons of a style, the first one being the default answer.
QList<ButtonChoice> ButtonsOf(unsigned style) {
  switch (style & 0x0F) {
    case kMbOkCancel: return {{QMessageBox::Ok, kIdOk}, {QMessageBox::Cancel, kIdCancel}};
    case kMbYesNo: return {{QMessageBox::Yes, kIdYes}, {QMessageBox::No, kIdNo}};
    default: return {{QMessageBox::Ok, kIdOk}};
  }
}

}  // namespace

int MessageBoxWithTimeout(QWidget* owner, const QString& text, const QString& caption, unsigned style,
                          unsigned milliseconds) {
  QMessageBox box(IconOf(style), caption, QString(text).replace("\r\n", "\n"), QMessageBox::NoButton, owner);
  const QList<ButtonChoice> choices = ButtonsOf(style);
  for (const ButtonChoice& choice : choices) box.addButton(choice.button);
  box.setDefaultButton(choices.front().button);
  // Escape answers the last button (Cancel, No), or OK when it is alone.
  box.setEscapeButton(box.button(choices.back().button));

  bool timedOut = false;
  QTimer timer;
  if (milliseconds > 0) {
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &box, [&box, &timedOut] {
      timedOut = true;
      box.done(QMessageBox::NoButton);
    });
    timer.start(static_cast<int>(std::min<unsigned>(milliseconds, INT32_MAX)));
  }
  box.exec();
  if (timedOut) return kIdTimeout;
  const auto* clicked = box.clickedButton();
  for (const ButtonChoice& choice : choices) {
    if (clicked == box.button(choice.button)) return choice.result;
  }
  return choices.back().result;
}

void ShowWarningBox(QWidget* owner, const QString& text) {
  MessageBoxWithTimeout(owner, text, kApplicationCaption, kMbOk | kMbIconWarning, 0);
}
