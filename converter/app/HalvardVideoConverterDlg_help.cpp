// Help page and about box of the main window.
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#include "HalvardVideoConverterDlg.h"
#include "message_box.h"
#include "path_utils.h"

void CHalvardVideoConverterDlg::OnHelp() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const QString page = QString::fromStdString(GetDataFolder()) + QString::fromUtf8(kHelpFileName);
  const bool opened = QFileInfo(page).isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(page));
  QApplication::restoreOverrideCursor();
  if (!opened) ShowWarningBox(this, QStringLiteral("No %1 help file founded.").arg(QString::fromUtf8(kHelpFileName)));
}

void CHalvardVideoConverterDlg::OnAbout() {
  QMessageBox about(QMessageBox::NoIcon, QStringLiteral("About Norvik KDX Video Converter"),
                    QStringLiteral("Norvik KDX Video Converter Version 1.4.2.0"), QMessageBox::Ok, this);
  if (!windowIcon().isNull()) about.setIconPixmap(windowIcon().pixmap(32, 32));
  about.exec();
}
