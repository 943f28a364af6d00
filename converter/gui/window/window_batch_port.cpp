#include "converter/gui/window/window_batch_port.h"

#include <QItemSelectionModel>
#include <QPushButton>

#include "converter/gui/players/dialog_players.h"
#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/widgets/OptionTreeItems.h"
#include "converter/gui/widgets/thumbnail_area.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"

QWidget* WindowBatchPort::MessageBoxOwner() { return &window_; }

HWND WindowBatchPort::WindowHandle() const { return window_.WindowHandle(); }

void WindowBatchPort::MakeRowCurrent(int row) {
  window_.m_rowSelection->setCurrentIndex(window_.m_queue->index(row, 0),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void WindowBatchPort::StopPreview() { window_.StopPreview(); }

void WindowBatchPort::SetStatusText(const QString& text) { window_.SetStatusLine(text); }

void WindowBatchPort::SetConvertCaption(const QString& caption) { window_.m_btnConvert->setText(caption); }

void WindowBatchPort::EnableQuit(bool enable) { window_.m_btnQuit->setEnabled(enable); }

void WindowBatchPort::EnableBatchLockedControls(bool enable) { window_.EnableBatchLockedControls(enable); }

void WindowBatchPort::ShowThumbnail(const QImage& picture, bool atOwnSize) {
  window_.m_staticPreview->hide();
  window_.m_staticThumbnail->show();
  window_.m_staticThumbnail->SetPicture(picture, atOwnSize);
}

void WindowBatchPort::ShowPreviewArea() {
  window_.m_staticThumbnail->hide();
  window_.m_staticPreview->show();
}

std::string WindowBatchPort::DestinationFolder() { return window_.DestinationFolder(); }

void WindowBatchPort::ShowDestinationFolder(const std::string& folder) { window_.ShowDestinationFolder(folder); }

const DEVICE_CONFIG_ENTRY* WindowBatchPort::SelectedModel() const { return window_.SelectedModel(); }

QString WindowBatchPort::VideoCodecText() const { return window_.m_itemVideoCodec->GetStaticText(); }

TransferOutcome WindowBatchPort::TransferOutputFile(int row, const std::string& path) {
  return window_.m_players->TransferOutputFile(row, path);
}
