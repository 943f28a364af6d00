// SPDX-License-Identifier: GPL-2.0-or-later
// Help page and about box of the main window.
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/widgets/message_box.h"
#include "converter/core/support/path_utils.h"

void CHalvardVideoConverterDlg::OnHelp() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QString page = QString::fromStdString(GetDataFolder()) + QString::fromUtf8(kHelpFileName);
  const bool found = QFileInfo(page).isFile();
  const bool opened = found && QDesktopServices::openUrl(QUrl::fromLocalFile(page));
  QApplication::restoreOverrideCursor();
  if (!found) {
    ShowWarningBox(this, QStringLiteral("No %1 help file founded.").arg(QString::fromUtf8(kHelpFileName)));
  } else if (!opened) {
    // The page is there; the desktop has no program to show it (xdg-open missing).
    ShowWarningBox(this, QStringLiteral("The help page %1 cannot be shown: no program to open web pages was found. "
                                        "Install xdg-utils or open the page in a web browser.")
                             .arg(page));
  }
}

void CHalvardVideoConverterDlg::OnAbout() {
  QMessageBox about(QMessageBox::NoIcon, QStringLiteral("About Norvik KDX Video Converter"),
                    QStringLiteral("Norvik KDX Video Converter Version 1.4.2.0"), QMessageBox::Ok, this);
  if (!windowIcon().isNull()) about.setIconPixmap(windowIcon().pixmap(32, 32));
  about.exec();
}
