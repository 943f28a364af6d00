// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/window/HalvardVideoConverterDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>

#include "converter/gui/widgets/DevicePiture.h"
#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/widgets/FilenameEdit.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/core/devices/TesselConfigFile.h"
#include "converter/gui/batch/conversion_driver.h"
#include "converter/gui/players/dialog_players.h"
#include "converter/gui/players/window_player_port.h"
#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/queue/duration_probe_queue.h"
#include "kdx.h"
#include "converter/core/support/log_file.h"
#include "converter/gui/widgets/posted_message_window.h"
#include "converter/gui/widgets/status_line.h"
#include "converter/gui/widgets/thumbnail_area.h"
#include "converter/gui/window/window_batch_port.h"

CHalvardVideoConverterDlg::CHalvardVideoConverterDlg(const CTesselConfigFile& devices, PlayerSupport flags,
                                                     CWMDM* wmdm, QWidget* parent)
    : QDialog(parent), m_devices(devices), m_flags(flags), m_wmdm(wmdm) {
  setWindowTitle(QStringLiteral("Norvik KDX Video Converter"));
  setWindowFlags(Qt::Dialog | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(QApplication::windowIcon());
  InitDialog();
}

CHalvardVideoConverterDlg::~CHalvardVideoConverterDlg() {
  // Rows going with the window must not reach a panel already gone.
  if (m_rowSelection) m_rowSelection->disconnect(this);
  m_probes.reset();
  m_players.reset();
  m_videoFile.ReleasePreview();
}

void CHalvardVideoConverterDlg::InitDialog() {
  m_probes = std::make_unique<DurationProbeQueue>(
      [this](const QString& path, bool readable, double seconds) { OnFileMeasured(path, readable, seconds); });
  CreateControls();
  setMouseTracking(true);
  setWindowTitle(QString::fromUtf8(kCaption));
  m_bAbort = false;
  LoadSettings();

  EnableRowButtons(false);
  m_btnConvert->setEnabled(false);
  m_checkTransfer->setEnabled(false);
  m_checkTransfer->setChecked(false);

  FillPlayerSelector();
  CreateOptionsPanel();
  SetPanelEditable(false);
  if (m_devices.GetDeviceCount() > 0) ApplyPlayerModel();
  SetUpFileList();

  m_postedMessages = std::make_unique<PostedMessageWindow>(
      [this](const WindowMessage& message) { OnPostedMessage(message); }, this);
  m_playerPort = std::make_unique<WindowPlayerPort>(
      WindowPlayerPort::Controls{m_staticStatus, m_checkTransfer, m_comboDevice, m_btnConvert, m_queue},
      [this] { OnPlayerSelectionChange(); }, [this] { return IsConverting(); });
  m_players = std::make_unique<DialogPlayers>(m_devices, m_flags, m_wmdm, *m_playerPort, m_postedMessages->window());
  m_players->DetectAtStart();

  m_videoFile.SetHostWindow(m_staticPreview);
  m_batchPort = std::make_unique<WindowBatchPort>(*this);
  m_driver = std::make_unique<ConversionDriver>(*m_batchPort, *m_queue);

  connect(m_btnAdd, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnAdd);
  connect(m_btnDelete, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnDelete);
  connect(m_btnClear, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnClear);
  connect(m_btnPlay, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnPlay);
  connect(m_btnStop, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::StopPreview);
  connect(m_btnConvert, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnConvertButton);
  connect(m_btnQuit, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnQuit);
  connect(m_btnBrowse, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnBrowse);
  connect(m_btnOpen, &QPushButton::clicked, this, &CHalvardVideoConverterDlg::OnOpenFolder);
  connect(m_comboDevice, &QComboBox::activated, this, &CHalvardVideoConverterDlg::OnPlayerSelectionChange);
  m_editDestPath->installEventFilter(this);
  auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
  help->setContext(Qt::WindowShortcut);
  connect(help, &QShortcut::activated, this, &CHalvardVideoConverterDlg::OnHelp);

  m_btnAdd->setFocus();
}

void CHalvardVideoConverterDlg::OnPostedMessage(const WindowMessage& message) {
  switch (message.message) {
    case WM_TRANSCODE_PROGRESS: OnTranscodeProgress(message.wParam, message.lParam); break;
    case WM_TRANSCODE_ERROR: OnTranscodeError(message.wParam, message.lParam); break;
    default: m_players->HandleMessage(message); break;
  }
}

void CHalvardVideoConverterDlg::QueueStartupFiles(const QStringList& paths) {
  m_statusToKeep = m_staticStatus->text();
  QueueFiles(paths);
}

void CHalvardVideoConverterDlg::OnConvertButton() {
  if (m_btnConvert->text() != QLatin1String(kConvertCaption)) {
    CancelConversion();
    return;
  }
  bool ticked = false;
  for (int row = 0; row < m_queue->rowCount() && !ticked; ++row) ticked = m_queue->IsTicked(row);
  if (!ticked) {
    SetStatusLine(QString::fromUtf8(kNothingTickedText));
    return;
  }
  ConvertAll();
}

bool CHalvardVideoConverterDlg::eventFilter(QObject* watched, QEvent* event) {
  const bool inList = watched == m_listVideo || watched == m_listVideo->viewport() ||
                      watched == m_listVideo->horizontalHeader();
  if (inList && event->type() == QEvent::ContextMenu) {
    OnListContextMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  }
  if (watched == m_listVideo && event->type() == QEvent::KeyPress && !IsConverting()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Delete && m_listVideo->GetItemCount() > 0) {
      OnDelete();
      return true;
    }
    if (key == Qt::Key_Insert) {
      OnAdd();
      return true;
    }
  }
  if (watched == m_editDestPath && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
    OnDestinationFocus(event->type() == QEvent::FocusIn);
  return QDialog::eventFilter(watched, event);
}

void CHalvardVideoConverterDlg::OnListContextMenu(const QPoint& globalPos) {
  if (!m_contextMenu || IsConverting() || m_bBatchLocked) return;
  // The header band at the top of the list opens nothing.
  const QRect list = m_listVideo->geometry();
  const QPoint point = mapFromGlobal(globalPos);
  if (point.x() < list.left() || point.x() > list.right() || point.y() < list.top() + 15 || point.y() > list.bottom())
    return;
  const bool rowChosen = m_listVideo->GetItemCount() > 0 && m_listVideo->selectionModel()->hasSelection();
  const QList<QAction*> items = m_contextMenu->actions();
  for (int i = 1; i < items.size(); ++i) items[i]->setEnabled(rowChosen);
  m_contextMenu->exec(globalPos);
}

void CHalvardVideoConverterDlg::mousePressEvent(QMouseEvent* event) {
  CommitPanelEdits();
  // The help spot answers although it is never shown.
  if (event->button() == Qt::LeftButton && m_rectHelpSpot.contains(event->position().toPoint())) OnHelp();
  QDialog::mousePressEvent(event);
}

void CHalvardVideoConverterDlg::mouseMoveEvent(QMouseEvent* event) {
  if (m_rectHelpSpot.contains(event->position().toPoint())) {
    setCursor(Qt::PointingHandCursor);
  } else {
    unsetCursor();
  }
  QDialog::mouseMoveEvent(event);
}

void CHalvardVideoConverterDlg::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && m_optionTree) CommitPanelEdits();
  QDialog::changeEvent(event);
}

void CHalvardVideoConverterDlg::moveEvent(QMoveEvent* event) {
  m_videoFile.FitPreviewWindow();
  QDialog::moveEvent(event);
}

void CHalvardVideoConverterDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  // A running batch waits inside this window; it ends through Cancel first.
  if (IsConverting()) {
    SetStatusLine(QString::fromUtf8(kCloseRefusedText));
  } else if (!m_bQuitting) {
    OnQuit();
  }
}

void CHalvardVideoConverterDlg::keyPressEvent(QKeyEvent* event) {
  // Escape does not end this window; only Quit and closing it do.
  if (event->key() == Qt::Key_Escape) return;

  QDialog::keyPressEvent(event);
}

std::vector<QWidget*> CHalvardVideoConverterDlg::TabStops() const {
  return {m_btnAdd,        m_btnDelete,   m_btnClear,  m_listVideo, m_editDestPath, m_btnBrowse, m_btnOpen,
          m_comboDevice,   m_checkTransfer, m_btnConvert, m_btnQuit, m_btnPlay,      m_btnStop,   m_optionTree->GetList()};
}

bool CHalvardVideoConverterDlg::focusNextPrevChild(bool next) {
  const std::vector<QWidget*> stops = TabStops();
  const int count = static_cast<int>(stops.size());
  // An open editor of the panel belongs to the panel's stop.
  const QWidget* focus = focusWidget();
  int at = next ? -1 : count;
  for (int i = 0; i < count; ++i) {
    if (stops[i] == focus || stops[i]->isAncestorOf(focus)) at = i;
  }
  for (int step = 1; step <= count; ++step) {
    QWidget* stop = stops[(at + (next ? step : -step) + 2 * count) % count];
    if (stop->isVisible() && stop->isEnabled() && (stop->focusPolicy() & Qt::TabFocus)) {
      stop->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      return true;
    }
  }
  return QDialog::focusNextPrevChild(next);
}

// ---- What the conversion batch asks of the window.

HWND CHalvardVideoConverterDlg::WindowHandle() const { return m_postedMessages->window(); }

void CHalvardVideoConverterDlg::StopPreview() { m_videoFile.StopPreview(); }

void CHalvardVideoConverterDlg::SetStatusLine(const QString& text) { ShowStatusText(*m_staticStatus, text); }

void CHalvardVideoConverterDlg::EnableBatchLockedControls(bool enable) {
  m_bBatchLocked = !enable;
  m_optionTree->setEnabled(enable);
  if (m_contextMenu) {
    for (QAction* item : m_contextMenu->actions()) item->setEnabled(enable);
  }
  for (QWidget* control : std::initializer_list<QWidget*>{m_editDestPath, m_btnBrowse, m_btnAdd})
    control->setEnabled(enable);
  // An attached player fixes the model: files of another size must not reach it.
  m_comboDevice->setEnabled(enable && !(m_players && m_players->PlayerAttached()));
  // Afterwards the row buttons follow the list's emptiness.
  EnableRowButtons(enable && m_listVideo->GetItemCount() > 0);
}

void CHalvardVideoConverterDlg::ShowDestinationFolder(const std::string& folder) {
  m_strDestPath = folder;
  m_editDestPath->SetFilename(QString::fromStdString(folder));
}

const DEVICE_CONFIG_ENTRY* CHalvardVideoConverterDlg::SelectedModel() const {
  const int index = m_comboDevice->currentIndex();
  if (index < 0) return nullptr;
  const size_t entry = m_comboDevice->itemData(index).toULongLong();
  return entry < m_devices.GetDeviceCount() ? &m_devices.GetDevice(entry) : nullptr;
}

