// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/batch/destination_questions.h"

#include <QString>

#include "converter/gui/widgets/message_box.h"

bool AskToCreateFolder(QWidget* owner, const std::string& folder) {
  const QString text =
      QString("The %1 folder does not exist, do you want to create it?").arg(QString::fromStdString(folder));
  return MessageBoxWithTimeout(owner, text, kApplicationCaption, kMbYesNo | kMbIconWarning, 0) == kIdYes;
}

bool AskToOverwrite(QWidget* owner, const std::string& path, unsigned timeoutMs) {
  const QString text = QString(
                           "The %1 is already existed, click OK to over-write the file, click Cancel to stop the "
                           "file conversion.")
                           .arg(QString::fromStdString(path));
  return MessageBoxWithTimeout(owner, text, kApplicationCaption, kMbOkCancel | kMbIconWarning, timeoutMs) != kIdCancel;
}
