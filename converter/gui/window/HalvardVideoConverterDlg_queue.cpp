// SPDX-License-Identifier: GPL-2.0-or-later
// The queue of input files: adding, removing and previewing rows.
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPushButton>
#include <cmath>

#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/core/devices/TesselConfigFile.h"
#include "converter/gui/widgets/TesselMultiFilesDialog.h"
#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/queue/duration_probe_queue.h"
#include "converter/gui/widgets/message_box.h"
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

void CHalvardVideoConverterDlg::AttachQueue() {
  m_queue = new ConversionQueueModel(this);
  // Tests and scripts find the queue by this name, like the controls.
  m_queue->setObjectName(QStringLiteral("conversionQueue"));
  m_listVideo->SetListModel(m_queue);
  m_rowSelection = new QItemSelectionModel(m_queue, this);
  m_listVideo->setSelectionModel(m_rowSelection);
  // Mouse, arrow keys, Delete and the batch all move the current row; the
  // panel shows that row and its edits land there.
  connect(m_rowSelection, &QItemSelectionModel::currentRowChanged, this,
          &CHalvardVideoConverterDlg::OnCurrentRowChanged);
}

void CHalvardVideoConverterDlg::OnCurrentRowChanged() {
  // An edit still open belongs to the row shown so far.
  CommitPanelEdits();
  const int row = m_rowSelection->currentIndex().row();
  if (row >= 0) {
    ShowItemSettings(row);
  } else {
    m_shownRow = QPersistentModelIndex();
    ResetPanel();
  }
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
  const int row = m_queue->AddRow(path, NewInputVideoItem(path.toStdString(), duration, model));
  // The newest row becomes the current one, shown in the panel.
  m_listVideo->selectRow(row);
  m_listVideo->setCurrentIndex(m_queue->index(row, 0));
}

void CHalvardVideoConverterDlg::FinishAdding() {
  const int rows = m_queue->rowCount();
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
  SetStatusLine(status.join(QLatin1Char(' ')));
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

void CHalvardVideoConverterDlg::OnDelete() {
  StopPreview();
  const QModelIndexList selected = m_rowSelection->selectedRows();
  if (!selected.isEmpty()) m_queue->RemoveRow(selected.front().row());
  // The row that became current is shown already; with none the panel is blank.
  if (!m_shownRow.isValid()) ResetPanel();
  const int rows = m_queue->rowCount();
  if (rows == 0) {
    SetPanelEditable(false);
    EnableRowButtons(false);
    m_btnConvert->setEnabled(false);
  } else {
    SetPanelEditable(true);
  }
  SetStatusLine(QStringLiteral("Total %1 files.").arg(rows));
}

void CHalvardVideoConverterDlg::ClearList() {
  StopPreview();
  ResetPanel();
  m_queue->RemoveAllRows();
}

void CHalvardVideoConverterDlg::OnClear() {
  ClearList();
  SetPanelEditable(false);
  EnableRowButtons(false);
  m_btnConvert->setEnabled(false);
  SetStatusLine(QString());
}

void CHalvardVideoConverterDlg::EnableRowButtons(bool enable) {
  m_bRowButtons = enable;
  for (QPushButton* button : {m_btnPlay, m_btnStop, m_btnDelete, m_btnClear}) button->setEnabled(enable);
}

void CHalvardVideoConverterDlg::OnRowClicked(int row) {
  if (m_queue->IsTicked(row) && !IsConverting() &&
      m_btnConvert->text() == QLatin1String(kConvertCaption))
    m_btnConvert->setEnabled(true);
}

void CHalvardVideoConverterDlg::OnPlay() {
  StopPreview();
  const QModelIndexList selected = m_rowSelection->selectedRows();
  if (selected.isEmpty()) return;
  const int row = selected.front().row();
  if (!m_queue->IsEnabled(row)) return;
  const QString path = m_queue->InputPath(row);
  if (!FileExists(path.toStdString())) {
    m_queue->SetStatus(row, QString::fromUtf8(kNotPlayableText));
    m_queue->SetEnabled(row, false);
    return;
  }
  m_staticThumbnail->hide();
  m_staticPreview->show();
  // A file the preview cannot play may still convert: its box says why, and
  // the row keeps its status and tick.
  m_videoFile.PlayPreview(path.toStdString());
}
