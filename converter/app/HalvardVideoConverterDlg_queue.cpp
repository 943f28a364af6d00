// The queue of input files: adding, removing and previewing rows.
#include <QFileInfo>
#include <QPushButton>
#include <cmath>

#include "FileDropListCtrl.h"
#include "HalvardVideoConverterDlg.h"
#include "OptionTree.h"
#include "TesselConfigFile.h"
#include "TesselMultiFilesDialog.h"
#include "failure_texts.h"
#include "message_box.h"
#include "thumbnail_area.h"

namespace {

const char kAddFilter[] =
    "All Video File (*.avi *.mpeg *.mpg *.dat *.divx *.vob *.asf *.wmv *.rm *.rmvb *.mov *mp4);;All Files (*.*)";
const char kNoModelText[] =
    "No player model is available (the device table TesselDeviceConfig.xml could not be read), so video files "
    "cannot be added.";
const char kNotPlayableText[] = "File does not exist";

}  // namespace

INPUT_VIDEO_ITEM* CHalvardVideoConverterDlg::RowRecord(int row) const {
  return static_cast<INPUT_VIDEO_ITEM*>(m_listVideo->GetItemData(row));
}

bool CHalvardVideoConverterDlg::AddInputFile(const QString& path) {
  // A row needs a player model for its output name and video mode.
  const DEVICE_CONFIG_ENTRY* model = SelectedModel();
  if (!model) {
    ShowWarningBox(this, QString::fromUtf8(kNoModelText));
    return false;
  }
  const int row = m_listVideo->InsertItem(m_listVideo->GetItemCount(), path);
  if (row < 0) return false;
  const std::string input = path.toStdString();
  double seconds = 0;
  int64_t duration = 0;
  if (m_videoFile.GetDuration(input, &seconds) && seconds > 0)
    duration = static_cast<int64_t>(std::llround(seconds * kMediaUnitsPerSecond));
  auto* item = new INPUT_VIDEO_ITEM(NewInputVideoItem(input, duration, *model));
  m_listVideo->SetItemData(row, item);
  m_listVideo->SetItemText(row, 1, QString::fromStdString(item->strType));
  m_listVideo->SetItemText(row, 2, QString::fromStdString(item->strSize));
  m_listVideo->SetItemToolTipText(row, 0, path);

  m_listVideo->selectRow(row);
  m_listVideo->setCurrentIndex(m_listVideo->model()->index(row, 0));
  ShowItemSettings(row);
  m_listVideo->SetCheckbox(row, 0, 1);
  return true;
}

void CHalvardVideoConverterDlg::FinishAdding() {
  const int rows = m_listVideo->GetItemCount();
  // Files dropped during a batch join it without unlocking the buttons.
  if (!m_bRowButtons && rows > 0 && !m_bBatchLocked) {
    EnableRowButtons(true);
    m_btnConvert->setEnabled(true);
  }
  SetStatusText(QStringLiteral("Total %1 files added.").arg(rows));
  if (rows > 0) SetPanelEditable(true);
}

void CHalvardVideoConverterDlg::OnAdd() {
  CTesselMultiFilesDialog dialog(this, QString(), QString(), QString::fromUtf8(kAddFilter));
  if (dialog.exec() == QDialog::Accepted) {
    for (const QString& path : dialog.GetPathNames()) AddInputFile(path);
  }
  FinishAdding();
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
  if (!QFileInfo::exists(path)) {
    m_listVideo->SetItemText(row, 3, QString::fromUtf8(kNotPlayableText));
    m_listVideo->SetEnabled(row, false);
    return;
  }
  m_staticThumbnail->hide();
  m_staticPreview->show();
  if (!m_videoFile.PlayPreview(path.toStdString())) {
    m_listVideo->SetCheckbox(row, 0, 0);
    m_listVideo->SetItemText(row, 3, QStringLiteral("Failed."));
    m_listVideo->SetItemToolTipText(row, 3, QString::fromUtf8(kUnsupportedFormatText));
  }
}

void CHalvardVideoConverterDlg::QueueFiles(const QStringList& paths) {
  const DropMode& mode = m_listVideo->GetDropMode();
  for (const QString& given : paths) {
    const QString path = ResolveDroppedPath(QFileInfo(given).absoluteFilePath());
    const int kind = ClassifyDroppedPath(mode, path);
    if (kind != 0) mode.pfnCallback(*m_listVideo, path, static_cast<DropKind>(kind));
  }
}
