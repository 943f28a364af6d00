// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/window/window_batch_port.h"

#include <QItemSelectionModel>
#include <QPushButton>

#include "converter/gui/players/dialog_players.h"
#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/widgets/OptionTreeItems.h"
#include "converter/gui/widgets/thumbnail_area.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"

QWidget* WindowBatchPort::MessageBoxOwner() { return &m_window; }

HWND WindowBatchPort::WindowHandle() const { return m_window.WindowHandle(); }

void WindowBatchPort::MakeRowCurrent(int row) {
  m_window.m_rowSelection->setCurrentIndex(m_window.m_queue->index(row, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void WindowBatchPort::StopPreview() { m_window.StopPreview(); }

void WindowBatchPort::SetStatusText(const QString& text) { m_window.SetStatusLine(text); }

void WindowBatchPort::SetConvertCaption(const QString& caption) { m_window.m_btnConvert->setText(caption); }

void WindowBatchPort::EnableQuit(bool enable) { m_window.m_btnQuit->setEnabled(enable); }

void WindowBatchPort::EnableBatchLockedControls(bool enable) { m_window.EnableBatchLockedControls(enable); }

void WindowBatchPort::ShowThumbnail(const QImage& picture, bool atOwnSize) {
  m_window.m_staticPreview->hide();
  m_window.m_staticThumbnail->show();
  m_window.m_staticThumbnail->SetPicture(picture, atOwnSize);
}

void WindowBatchPort::ShowPreviewArea() {
  m_window.m_staticThumbnail->hide();
  m_window.m_staticPreview->show();
}

std::string WindowBatchPort::DestinationFolder() { return m_window.DestinationFolder(); }

void WindowBatchPort::ShowDestinationFolder(const std::string& folder) { m_window.ShowDestinationFolder(folder); }

const DEVICE_CONFIG_ENTRY* WindowBatchPort::SelectedModel() const { return m_window.SelectedModel(); }

QString WindowBatchPort::VideoCodecText() const { return m_window.m_itemVideoCodec->GetStaticText(); }

bool WindowBatchPort::AddSilence() const { return m_window.m_bAddSilence; }

TransferOutcome WindowBatchPort::TransferOutputFile(int row, const std::string& path) {
  return m_window.m_players->TransferOutputFile(row, path);
}
