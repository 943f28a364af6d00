// SPDX-License-Identifier: GPL-2.0-or-later
// The converter's main window: the queue of input files with their
// settings, the player model and destination folder, the preview, the
// conversion batch's controls, help and the about box.
// Controls and menus: _layout.cpp, each named for scripts and tests
// ("convertButton", "statusLine", ...). Queue: _queue.cpp. Panel and
// settings: _settings.cpp. Help: _help.cpp. Batch: ConversionDriver.
// Players: DialogPlayers, through the WindowPlayerPort the window owns.
#pragma once

#include <QDialog>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "converter/gui/widgets/TesselVideoFile.h"
#include "converter/core/devices/device_config_entry.h"
#include "converter/core/request/input_video_item.h"
#include "converter/core/startup/player_support.h"
#include "platform/base/platform_types.h"
#include "converter/gui/window/window_layout.h"

class CDevicePiture;
class CFileDropListCtrl;
class CFilenameEdit;
class COptionTree;
class COptionTreeItem;
class COptionTreeItemComboBox;
class COptionTreeItemDate;
class COptionTreeItemEdit;
class COptionTreeItemStatic;
class CTesselConfigFile;
class CWMDM;
class ConversionDriver;
class ConversionQueueModel;
class DialogPlayers;
class DurationProbeQueue;
class PostedMessageWindow;
class QCheckBox;
class QComboBox;
class QFrame;
class QItemSelectionModel;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class ThumbnailArea;
class WindowBatchPort;
class WindowPlayerPort;
struct WindowMessage;

class CHalvardVideoConverterDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Norvik KDX Video Converter (1.4.2.0)";
  static constexpr const char* kNoPlayerText = "No Supported Player Detected!";
  static constexpr const char* kHelpFileName = "PXR_Help.html";
  static constexpr const char* kConvertCaption = "&Convert";
  static constexpr const char* kCancelCaption = "&Cancel";
  static constexpr const char* kNothingTickedText = "No file is ticked for conversion.";
  static constexpr const char* kCloseRefusedText = "Cancel the conversion before closing the window.";
  // The dialog template's size in dialog units.
  static constexpr int kTemplateWidth = 520;
  static constexpr int kTemplateHeight = 314;

  // `devices` is the device table, kept by the caller for the window's life;
  // `wmdm` the device manager start-up started on the portable-device path.
  CHalvardVideoConverterDlg(const CTesselConfigFile& devices, PlayerSupport flags, CWMDM* wmdm = nullptr,
                            QWidget* parent = nullptr);
  ~CHalvardVideoConverterDlg() override;

  // The queue. Files given by the Add dialog, drops and the command line:
  // each regular file is measured away from the window's thread and becomes
  // a row, in the order given, when FFmpeg can read a length from it; the
  // status line then counts the rows and names every file refused.
  void QueueFiles(const QStringList& paths);
  // Files are still being measured, or their status line is still to come.
  bool IsAddingFiles() const;
  // Files named on the command line: queued, while the status line keeps
  // what player detection said at start.
  void QueueStartupFiles(const QStringList& paths);
  void OnAdd();
  void OnDelete();
  void OnClear();
  void OnPlay();
  void OnRowClicked(int row);

  void OnHelp();
  void OnAbout();
  void OnBrowse();
  void OnOpenFolder();
  // Tidies up, saves the settings and ends the dialog.
  void OnQuit();
  // Keeps the panel's edits, the destination folder and the player model
  // in the settings file for the next start.
  void SaveSettings();
  void OnConvertButton();

  // The conversion batch.
  void ConvertAll();
  void CancelConversion();
  void OnTranscodeProgress(WPARAM wParam, LPARAM lParam);
  void OnTranscodeError(WPARAM wParam, LPARAM lParam);

  // Where the encoder and the device watches post their messages.
  HWND WindowHandle() const;
  void StopPreview();
  // Everything a batch locks: the options panel, the context menu's items,
  // the destination field, Browse, Add, Delete, Clear, Play, Stop and the
  // player selector.
  void EnableBatchLockedControls(bool enable);
  // The destination field as it reads now (a user may have typed into it).
  std::string DestinationFolder();
  void ShowDestinationFolder(const std::string& folder);
  // The player model chosen in the selector; null when the device table is empty.
  const DEVICE_CONFIG_ENTRY* SelectedModel() const;

  // A batch is running.
  bool IsConverting() const;

  // What the program's tests drive besides the controls (found by their
  // object names): the preview's player and the batch's question timeout.
  TesselVideoFile& videoFile() { return m_videoFile; }
  ConversionDriver& driver() { return *m_driver; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // Tab and Shift+Tab visit the controls in the template's order, each once.
  bool focusNextPrevChild(bool next) override;

 private:
  // The row the panel edits, -1 for none.
  int EditedRow() const { return m_shownRow.isValid() ? m_shownRow.row() : -1; }
  // Start, in the window's order.
  void InitDialog();
  void CreateControls();
  void CreateMenus();
  void CreateOptionsPanel();
  void SetUpFileList();
  // The screen's room for the window, less its frame.
  QSize WindowRoom() const;
  // The size kept from the last run, else the template's.
  QSize OpeningSize() const;
  void KeepWindowSize() const;
  std::vector<QWidget*> TabStops() const;
  // Settings.
  void LoadSettings();
  void FillPlayerSelector();
  void OnPlayerSelectionChange();
  void ApplyPlayerModel();
  void OnOptionChanged(COptionTreeItem* item);
  // A typed output name: ".kdx" added; refused with a message when it would
  // leave the model folder or another row writes it.
  void TakeOutputName(INPUT_VIDEO_ITEM& item, const QString& typed);
  // Start no later than End, End within Start..Duration.
  void KeepRangeInOrder(const INPUT_VIDEO_ITEM& item);
  void ResetPanel();
  void SetPanelEditable(bool editable);
  void CommitPanelEdits();
  // The items a user edits.
  std::array<COptionTreeItem*, 5> PanelEditors() const;
  void OnDestinationFocus(bool gained);
  // The status line, with the whole text as its tooltip.
  void SetStatusLine(const QString& text);
  // Queue helpers.
  // The list shows the queue; the panel follows the list's current row.
  void AttachQueue();
  void ShowItemSettings(int row);
  // Commits an open edit to the row shown so far, then shows the current row.
  void OnCurrentRowChanged();
  void OnFileMeasured(const QString& path, bool readable, double seconds);
  void AddMeasuredFile(const QString& path, int64_t duration, const DEVICE_CONFIG_ENTRY& model);
  // Buttons and status line after adding.
  void FinishAdding();
  void EnableRowButtons(bool enable);
  void ClearList();
  void OnListContextMenu(const QPoint& globalPos);
  void OnPostedMessage(const WindowMessage& message);

  const CTesselConfigFile& m_devices;
  const PlayerSupport m_flags;

  // Controls in tab order.
  QMenuBar* m_menuBar = nullptr;
  QPushButton* m_btnAdd = nullptr;
  QPushButton* m_btnDelete = nullptr;
  QPushButton* m_btnClear = nullptr;
  CFileDropListCtrl* m_listVideo = nullptr;
  CFilenameEdit* m_editDestPath = nullptr;
  QPushButton* m_btnBrowse = nullptr;
  QPushButton* m_btnOpen = nullptr;
  QComboBox* m_comboDevice = nullptr;
  QCheckBox* m_checkTransfer = nullptr;
  QPushButton* m_btnConvert = nullptr;
  QPushButton* m_btnQuit = nullptr;
  QPushButton* m_btnPlay = nullptr;
  QPushButton* m_btnStop = nullptr;
  QLabel* m_staticHint = nullptr;
  QLabel* m_staticStatus = nullptr;
  QLabel* m_staticPlayer = nullptr;
  QWidget* m_staticPreview = nullptr;
  QLabel* m_staticFolder = nullptr;
  ThumbnailArea* m_staticThumbnail = nullptr;
  QFrame* m_frameOptions = nullptr;
  QLabel* m_staticHelpSpot = nullptr;
  CDevicePiture* m_devicePicture = nullptr;
  QRect m_rectHelpSpot;
  QMenu* m_contextMenu = nullptr;

  // Each control's place in the smallest window and how it follows a larger one.
  struct Placement {
    QWidget* widget;
    QRect base;
    Follow follow;
  };
  static constexpr int kFrameBorder = 4;
  std::vector<Placement> m_placements;
  QSize m_templateSize;

  // The options panel and its items.
  COptionTree* m_optionTree = nullptr;
  COptionTreeItemStatic* m_itemPlayerName = nullptr;
  COptionTreeItemStatic* m_itemVideoCodec = nullptr;
  COptionTreeItemStatic* m_itemDimension = nullptr;
  COptionTreeItemStatic* m_itemFrameRate = nullptr;
  COptionTreeItemStatic* m_itemAudioCodec = nullptr;
  COptionTreeItemStatic* m_itemDuration = nullptr;
  COptionTreeItemEdit* m_itemOutputName = nullptr;
  COptionTreeItemDate* m_itemStart = nullptr;
  COptionTreeItemDate* m_itemEnd = nullptr;
  COptionTreeItemComboBox* m_itemVideoMode = nullptr;
  COptionTreeItemComboBox* m_itemQuality = nullptr;

  std::string m_strDestPath;
  bool m_bAddSilence = false;  // "Add silence to videos without sound", kept in NKDXVC.ini
  bool m_bRowButtons = false;
  bool m_bBatchLocked = false;
  bool m_bAbort = false;
  bool m_bQuitting = false;

  TesselVideoFile m_videoFile;
  std::unique_ptr<DurationProbeQueue> m_probes;
  QStringList m_refusedFiles;     // "NAME was not added: why." until the status line shows them
  QString m_statusToKeep;         // shown instead of the count once the files given at start are in
  bool m_bFinishPending = false;  // the status line of files just given is still to come
  CWMDM* m_wmdm;
  std::unique_ptr<PostedMessageWindow> m_postedMessages;
  std::unique_ptr<WindowPlayerPort> m_playerPort;
  // The queue's rows, the list's one selection, and the row whose settings
  // the panel shows (it moves with its row, and is gone with it).
  ConversionQueueModel* m_queue = nullptr;
  QItemSelectionModel* m_rowSelection = nullptr;
  QPersistentModelIndex m_shownRow;
  // The window's side of the batch: questions, status line, thumbnail, buttons.
  friend class WindowBatchPort;
  std::unique_ptr<WindowBatchPort> m_batchPort;
  // Both go before the handle the encoder and the device watches post to.
  std::unique_ptr<ConversionDriver> m_driver;
  std::unique_ptr<DialogPlayers> m_players;
};
