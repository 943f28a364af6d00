// SPDX-License-Identifier: GPL-2.0-or-later
// The player model, the per-file settings in the options panel, the
// destination folder, and what is kept between runs.
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QUrl>

#include "converter/gui/widgets/DevicePiture.h"
#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/widgets/FilenameEdit.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/core/devices/TesselConfigFile.h"
#include "converter/core/request/conversion_options.h"
#include "converter/core/request/converter_settings.h"
#include "converter/core/request/destination_path.h"
#include "kdx.h"
#include "converter/gui/widgets/message_box.h"
#include "converter/core/support/name_rule.h"
#include "converter/core/request/output_name.h"
#include "converter/core/support/path_utils.h"
#include "converter/core/support/temp_files.h"
#include "converter/core/support/videos_folder.h"

namespace {

// Start and End carry a time of day; a range beyond a day ends at its last second.
QTime TimeOfDay(const VIDEO_TIME& time) {
  if (time.nHour >= 24) return QTime(23, 59, 59);
  return QTime(time.nHour, time.nMinute, time.nSecond);
}

VIDEO_TIME VideoTimeOf(const QTime& time) { return {time.hour(), time.minute(), time.second()}; }

QString DurationText(const VIDEO_TIME& time) {
  return QString::asprintf("%02d:%02d:%02d", time.nHour, time.nMinute, time.nSecond);
}

// The entry whose text starts like `text`, ignoring letter case.
void SelectByPrefix(QComboBox& combo, const QString& text) {
  for (int i = 0; i < combo.count(); ++i) {
    if (!text.isEmpty() && combo.itemText(i).startsWith(text, Qt::CaseInsensitive)) {
      combo.setCurrentIndex(i);
      return;
    }
  }
}

}  // namespace

void CHalvardVideoConverterDlg::LoadSettings() {
  m_strDestPath = ExpandHomeFolder(LoadDestPath(SettingsFilePath()));
  // A folder relative to wherever the program was started is no folder to keep.
  if (m_strDestPath.empty() || m_strDestPath[0] != '/') m_strDestPath = UserVideosFolder();
  if (m_strDestPath.empty()) m_strDestPath = QDir::tempPath().toStdString();
  m_editDestPath->SetFilename(QString::fromStdString(m_strDestPath));
  m_bAddSilence = LoadAddSilence(SettingsFilePath());
}

void CHalvardVideoConverterDlg::FillPlayerSelector() {
  for (size_t i = 0; i < m_devices.GetDeviceCount(); ++i)
    m_comboDevice->addItem(QString::fromStdString(m_devices.GetDevice(i).ModelName), QVariant::fromValue<qulonglong>(i));
  if (m_devices.GetDeviceCount() > 0)
    m_comboDevice->setCurrentIndex(static_cast<int>(LoadComboDevice(SettingsFilePath(), m_devices.GetDeviceCount())));
}

void CHalvardVideoConverterDlg::OnPlayerSelectionChange() {
  if (SelectedModel()) ApplyPlayerModel();
}

void CHalvardVideoConverterDlg::ApplyPlayerModel() {
  const DEVICE_CONFIG_ENTRY* model = SelectedModel();
  if (!model) return;
  m_itemPlayerName->SetStaticText(QString::fromStdString(model->ModelName));
  m_itemVideoCodec->SetStaticText(QString::fromStdString(model->VideoFormat));
  m_itemDimension->SetStaticText(QString::fromStdString(model->ScreenSize));
  m_itemFrameRate->SetStaticText(QString::fromStdString(model->FrameRate));
  m_itemAudioCodec->SetStaticText(QString::fromStdString(model->AudioFormat));

  m_itemVideoMode->SetLabelText(QStringLiteral("Video Mode"));
  m_itemVideoMode->clear();
  for (const char* mode : kVideoModes) m_itemVideoMode->addItem(QString::fromUtf8(mode));
  SelectByPrefix(*m_itemVideoMode, QString::fromUtf8(DefaultVideoMode(*model)));

  const QString name = m_itemOutputName->text();
  if (!name.isEmpty())
    m_itemOutputName->setText(QString::fromStdString(KdxOutputName(name.toStdString())));
  m_itemQuality->setCurrentIndex(0);

  if (m_queue && m_queue->rowCount() > 0) {
    m_btnConvert->setText(QString::fromUtf8(kConvertCaption));
    EnableRowButtons(true);
    m_btnConvert->setEnabled(true);
  }
  m_devicePicture->SetBitmapPath(QString::fromStdString(GetDataFolder() + model->ModelName + ".bmp"));
  m_optionTree->Refresh();
}

void CHalvardVideoConverterDlg::ShowItemSettings(int row) {
  const INPUT_VIDEO_ITEM* item = m_queue->Record(row);
  if (!item) return;
  m_itemDuration->SetStaticText(DurationText(item->tmDuration));
  const QTime longest = TimeOfDay(item->tmDuration);
  for (COptionTreeItemDate* time : {m_itemStart, m_itemEnd}) time->SetTimeRange(QTime(0, 0, 0), longest);
  m_itemStart->setTime(TimeOfDay(item->tmStart));
  m_itemEnd->setTime(TimeOfDay(item->tmEnd));
  KeepRangeInOrder(*item);
  SelectByPrefix(*m_itemVideoMode, QString::fromStdString(item->strVideoMode));
  m_itemOutputName->setText(QString::fromStdString(item->strOutputName));
  SelectByPrefix(*m_itemQuality, QString::fromStdString(item->strQuality));
  m_shownRow = m_queue->index(row, 0);
  m_optionTree->Refresh();
}

void CHalvardVideoConverterDlg::OnOptionChanged(COptionTreeItem* changed) {
  INPUT_VIDEO_ITEM* item = m_queue->Record(EditedRow());
  if (!item) return;
  const QString label = changed->GetLabelText();
  if (changed == m_itemOutputName && label == QLatin1String("Destination ")) {
    TakeOutputName(*item, m_itemOutputName->text());
  } else if (changed == m_itemStart) {
    item->tmStart = VideoTimeOf(m_itemStart->time());
    KeepRangeInOrder(*item);
  } else if (changed == m_itemEnd) {
    item->tmEnd = VideoTimeOf(m_itemEnd->time());
    KeepRangeInOrder(*item);
  } else if (changed == m_itemVideoMode) {
    item->strVideoMode = m_itemVideoMode->currentText().toStdString();
  } else if (changed == m_itemQuality) {
    item->strQuality = m_itemQuality->currentText().toStdString();
  }
}

void CHalvardVideoConverterDlg::TakeOutputName(INPUT_VIDEO_ITEM& item, const QString& typed) {
  // A name of four characters or fewer cannot be a name plus ".kdx".
  if (typed.size() <= 4) {
    m_itemOutputName->setText(QString::fromStdString(item.strOutputName));
    return;
  }
  const std::string name = WithKdxExtension(typed.toStdString());
  QString refusal = QString::fromStdString(NameRefusal(name, NameShape::kOneComponent));
  if (refusal.isEmpty() && m_queue->OutputNameTaken(name, EditedRow()))
    refusal = QStringLiteral("another file of the list is already converted to that name");
  if (!refusal.isEmpty()) {
    m_itemOutputName->setText(QString::fromStdString(item.strOutputName));
    m_optionTree->Refresh();
    ShowWarningBox(this, QStringLiteral("The output name \"%1\" cannot be used: %2. The file keeps the name %3.")
                             .arg(typed, refusal, QString::fromStdString(item.strOutputName)));
    return;
  }
  item.strOutputName = name;
  m_itemOutputName->setText(QString::fromStdString(name));
  m_optionTree->Refresh();
}

void CHalvardVideoConverterDlg::KeepRangeInOrder(const INPUT_VIDEO_ITEM& item) {
  // Start stays a second before End and End a second after Start, as far as
  // the file allows, so the range always holds part of the file.
  const int64_t longest = VideoTimeToSeconds(item.tmDuration);
  const int64_t start = VideoTimeToSeconds(item.tmStart);
  const int64_t end = VideoTimeToSeconds(item.tmEnd);
  const auto timeOf = [](int64_t seconds) { return TimeOfDay(SecondsToVideoTime(seconds)); };
  m_itemStart->SetTimeRange(QTime(0, 0, 0), timeOf(std::max<int64_t>(end - 1, 0)));
  m_itemEnd->SetTimeRange(timeOf(std::min(start + 1, longest)), timeOf(longest));
}

void CHalvardVideoConverterDlg::ResetPanel() {
  m_itemDuration->SetStaticText(QStringLiteral("00:00:00"));
  for (COptionTreeItemDate* time : {m_itemStart, m_itemEnd}) {
    time->SetTimeRange(QTime(0, 0, 0), QTime(0, 0, 0));
    time->setTime(QTime(0, 0, 0));
  }
  m_itemOutputName->clear();
  m_optionTree->Refresh();
}

void CHalvardVideoConverterDlg::SetPanelEditable(bool editable) {
  for (COptionTreeItem* item : PanelEditors()) item->GetEditor()->setEnabled(editable);
}

std::array<COptionTreeItem*, 5> CHalvardVideoConverterDlg::PanelEditors() const {
  return {m_itemOutputName, m_itemStart, m_itemEnd, m_itemVideoMode, m_itemQuality};
}

void CHalvardVideoConverterDlg::CommitPanelEdits() {
  for (COptionTreeItem* item : PanelEditors()) m_optionTree->Commit(item);
}

void CHalvardVideoConverterDlg::OnDestinationFocus(bool gained) {
  // While edited the field holds the whole folder; afterwards it becomes the
  // destination and is shown shortened again.
  if (gained) {
    m_editDestPath->setText(m_editDestPath->GetFilename());
  } else {
    DestinationFolder();
  }
}

std::string CHalvardVideoConverterDlg::DestinationFolder() {
  const QString typed = m_editDestPath->GetFilename().trimmed();
  const std::string folder = ExpandHomeFolder(typed.toStdString());
  // A relative folder would land wherever the program happened to start.
  if (!folder.empty() && folder[0] != '/') {
    ShowDestinationFolder(m_strDestPath);
    ShowWarningBox(this, QStringLiteral("The destination folder \"%1\" is not a full path (one that starts with / "
                                        "or ~/). The converted files still go to %2.")
                             .arg(typed, QString::fromStdString(TargetOrProgramFolder(m_strDestPath))));
    return m_strDestPath;
  }
  ShowDestinationFolder(folder);
  return m_strDestPath;
}

void CHalvardVideoConverterDlg::OnBrowse() {
  const QString folder = QFileDialog::getExistingDirectory(this, QString(), QString(), QFileDialog::ShowDirsOnly);
  if (!folder.isEmpty()) ShowDestinationFolder(folder.toStdString());
}

void CHalvardVideoConverterDlg::OnOpenFolder() {
  const std::string folder = DestinationFolder();
  const QString target = folder.empty() ? QStringLiteral(".") : QString::fromStdString(folder);
  if (!QFileInfo(target).isDir() || !QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())))
    ShowWarningBox(this, QStringLiteral("The folder %1 cannot be opened.").arg(target));
}

void CHalvardVideoConverterDlg::SaveSettings() {
  CommitPanelEdits();
  DestinationFolder();
  const int selected = m_comboDevice->currentIndex();
  SaveConverterSettings(SettingsFilePath(), m_strDestPath, selected >= 0 ? static_cast<size_t>(selected) : 0,
                        m_bAddSilence);
  KeepWindowSize();
}

void CHalvardVideoConverterDlg::OnQuit() {
  m_bQuitting = true;
  SaveSettings();
  delete m_contextMenu;
  m_contextMenu = nullptr;
  ClearList();
  RemoveOwnTempFiles(QDir::tempPath().toStdString(), "PXR");
  CloseTranscoder();
  accept();
}
