// The queue of input files: adding, removing and previewing rows.
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <cmath>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/core/devices/TesselConfigFile.h"
#include "converter/gui/widgets/TesselMultiFilesDialog.h"
#include "converter/gui/queue/duration_probe_queue.h"
#include "converter/gui/widgets/message_box.h"
#include "converter/core/request/output_name.h"
#include "converter/core/support/path_utils.h"
#include "converter/gui/widgets/thumbnail_area.h"

namespace {

// The extensions of the Add dialog's first filter; the desktop entry's MIME
// types name the same set. Files of other extensions are taken too when
// FFmpeg can read them.
const char* const kVideoExtensions[] = {"avi", "mpeg", "mpg", "dat", "divx", "vob", "asf", "wmv", "rm",  "rmvb",
                                        "mov", "qt",   "mp4", "m4v", "mkv",  "webm", "ts", "m2ts", "mts", "3gp",
                                        "3g2", "flv",  "ogv", "mxf"};
const char kNoModelText[] =
    "No player model is available (the device table TesselDeviceConfig.xml could not be read), so video files "
    "cannot be added.";
const char kNotPlayableText[] = "File does not exist";
const char kNoVideoReason[] = "FFmpeg cannot read a video from it";

QString AddDialogFilter() {
  QStringList patterns;
  for (const char* extension : kVideoExtensions) patterns << QStringLiteral("*.") + QLatin1String(extension);
  return QStringLiteral("All Video File (%1);;All Files (*.*)").arg(patterns.join(QLatin1Char(' ')));
}

// Why a path is no file to measure, or an empty text when it is one. Only
// regular files are opened: reading a pipe or a device could wait for ever.
QString NotARegularFileReason(const QString& path) {
  struct stat attributes;
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &attributes) != 0)
    return QStringLiteral("it does not exist");
  if (S_ISDIR(attributes.st_mode)) return QStringLiteral("it is a folder");
  if (!S_ISREG(attributes.st_mode)) return QStringLiteral("it is not a regular file");
  return {};
}

QString ShownName(const QString& path) {
  const QString name = QFileInfo(path).fileName();
  return name.isEmpty() ? path : name;
}

}  // namespace

INPUT_VIDEO_ITEM* CHalvardVideoConverterDlg::RowRecord(int row) const {
  return static_cast<INPUT_VIDEO_ITEM*>(m_listVideo->GetItemData(row));
}

void CHalvardVideoConverterDlg::QueueFiles(const QStringList& paths) {
  if (paths.isEmpty()) return;
  // A row needs a player model for its output name and video mode.
  if (!SelectedModel()) {
    ShowWarningBox(this, QString::fromUtf8(kNoModelText));
    FinishAdding();
    return;
  }
  for (const QString& given : paths) {
    const QString path = ResolveDroppedPath(QFileInfo(given).absoluteFilePath());
    const QString refused = NotARegularFileReason(path);
    if (!refused.isEmpty()) {
      m_refusedFiles << QStringLiteral("%1 was not added: %2.").arg(ShownName(given), refused);
    } else {
      m_probes->Measure(path);
    }
  }
  // One status line for everything given together, after the last result.
  if (!m_bFinishPending) {
    m_bFinishPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          m_bFinishPending = false;
          if (!IsAddingFiles()) FinishAdding();
        },
        Qt::QueuedConnection);
  }
}

bool CHalvardVideoConverterDlg::IsAddingFiles() const { return m_bFinishPending || m_probes->Outstanding() > 0; }

void CHalvardVideoConverterDlg::OnFileMeasured(const QString& path, bool readable, double seconds) {
  if (!readable) {
    m_refusedFiles << QStringLiteral("%1 was not added: %2.").arg(ShownName(path), QString::fromUtf8(kNoVideoReason));
  } else if (const DEVICE_CONFIG_ENTRY* model = SelectedModel()) {
    AddMeasuredFile(path, static_cast<int64_t>(std::llround(seconds * kMediaUnitsPerSecond)), *model);
  }
  if (!IsAddingFiles()) FinishAdding();
}

void CHalvardVideoConverterDlg::AddMeasuredFile(const QString& path, int64_t duration, const DEVICE_CONFIG_ENTRY& model) {
  const int row = m_listVideo->InsertItem(m_listVideo->GetItemCount(), path);
  if (row < 0) return;
  auto* item = new INPUT_VIDEO_ITEM(NewInputVideoItem(path.toStdString(), duration, model));
  // Rows of one batch never write one file.
  item->strOutputName = DistinctOutputName(item->strOutputName, [this](const std::string& name) {
    return OutputNameUsedByAnotherRow(name, -1);
  });
  m_listVideo->SetItemData(row, item);
  m_listVideo->SetItemText(row, 1, QString::fromStdString(item->strType));
  m_listVideo->SetItemText(row, 2, QString::fromStdString(item->strSize));
  m_listVideo->SetItemToolTipText(row, 0, path);

  m_listVideo->selectRow(row);
  m_listVideo->setCurrentIndex(m_listVideo->model()->index(row, 0));
  ShowItemSettings(row);
  m_listVideo->SetCheckbox(row, 0, 1);
}

bool CHalvardVideoConverterDlg::OutputNameUsedByAnotherRow(const std::string& name, int row) const {
  for (int other = 0; other < m_listVideo->GetItemCount(); ++other) {
    const INPUT_VIDEO_ITEM* item = RowRecord(other);
    if (other != row && item && SameOutputName(item->strOutputName, name)) return true;
  }
  return false;
}

void CHalvardVideoConverterDlg::FinishAdding() {
  const int rows = m_listVideo->GetItemCount();
  // Files dropped during a batch join it without unlocking the buttons.
  if (!m_bRowButtons && rows > 0 && !m_bBatchLocked) {
    EnableRowButtons(true);
    m_btnConvert->setEnabled(true);
  }
  // Files given at start leave what player detection said in place.
  QStringList status{m_statusToKeep.isEmpty() ? QStringLiteral("Total %1 files added.").arg(rows) : m_statusToKeep};
  status << m_refusedFiles;
  m_refusedFiles.clear();
  m_statusToKeep.clear();
  SetStatusText(status.join(QLatin1Char(' ')));
  if (rows > 0) SetPanelEditable(true);
}

void CHalvardVideoConverterDlg::OnAdd() {
  CTesselMultiFilesDialog dialog(this, QString(), QString(), AddDialogFilter());
  const QStringList chosen = dialog.exec() == QDialog::Accepted ? dialog.GetPathNames() : QStringList();
  if (chosen.isEmpty()) {
    FinishAdding();
  } else {
    QueueFiles(chosen);
  }
}

void CHalvardVideoConverterDlg::FreeRow(int row) {
  delete RowRecord(row);
  m_listVideo->SetItemData(row, nullptr);
}

void CHalvardVideoConverterDlg::OnDelete() {
  StopPreview();
  const QModelIndexList selected = m_listVideo->selectionModel()->selectedRows();
  if (!selected.isEmpty()) {
    const int row = selected.front().row();
    FreeRow(row);
    m_listVideo->DeleteItem(row);
    // The rows below moved up: the panel edits nothing until a row is shown again.
    if (m_nEditRow == row) {
      m_nEditRow = -1;
    } else if (m_nEditRow > row) {
      --m_nEditRow;
    }
  }
  ResetPanel();
  const int rows = m_listVideo->GetItemCount();
  if (rows == 0) {
    SetPanelEditable(false);
    EnableRowButtons(false);
    m_btnConvert->setEnabled(false);
  } else {
    SetPanelEditable(true);
  }
  SetStatusText(QStringLiteral("Total %1 files.").arg(rows));
}

void CHalvardVideoConverterDlg::ClearList() {
  StopPreview();
  for (int row = 0; row < m_listVideo->GetItemCount(); ++row) FreeRow(row);
  ResetPanel();
  m_listVideo->DeleteAllItems();
  m_nEditRow = -1;
}

void CHalvardVideoConverterDlg::OnClear() {
  ClearList();
  SetPanelEditable(false);
  EnableRowButtons(false);
  m_btnConvert->setEnabled(false);
  SetStatusText(QString());
}

void CHalvardVideoConverterDlg::EnableRowButtons(bool enable) {
  m_bRowButtons = enable;
  for (QPushButton* button : {m_btnPlay, m_btnStop, m_btnDelete, m_btnClear}) button->setEnabled(enable);
}

void CHalvardVideoConverterDlg::OnRowClicked(int row) {
  ShowItemSettings(row);
  if (m_listVideo->GetCheckbox(row, 0) == 1 && !IsConverting() &&
      m_btnConvert->text() == QLatin1String(kConvertCaption))
    m_btnConvert->setEnabled(true);
}

void CHalvardVideoConverterDlg::OnPlay() {
  StopPreview();
  const QModelIndexList selected = m_listVideo->selectionModel()->selectedRows();
  if (selected.isEmpty()) return;
  const int row = selected.front().row();
  if (!m_listVideo->GetEnabled(row)) return;
  const QString path = m_listVideo->GetItemText(row, 0);
  if (!FileExists(path.toStdString())) {
    m_listVideo->SetItemText(row, 3, QString::fromUtf8(kNotPlayableText));
    m_listVideo->SetEnabled(row, false);
    return;
  }
  m_staticThumbnail->hide();
  m_staticPreview->show();
  // A file the preview cannot play may still convert: its box says why, and
  // the row keeps its status and tick.
  m_videoFile.PlayPreview(path.toStdString());
}
