// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's controls at their places and how they follow the
// window's size, its menus and the options panel.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "converter/gui/widgets/DevicePiture.h"
#include "converter/gui/widgets/FileDropListCtrl.h"
#include "converter/gui/widgets/FilenameEdit.h"
#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/gui/widgets/OptionTree.h"
#include "converter/core/request/conversion_options.h"
#include "converter/core/request/converter_settings.h"
#include "converter/gui/widgets/dialog_units.h"
#include "converter/core/support/log_file.h"
#include "converter/gui/widgets/thumbnail_area.h"
#include "converter/gui/window/window_layout.h"

namespace {

// A black rectangle of the template.
QWidget* BlackArea(QWidget* parent) {
  auto* area = new QWidget(parent);
  QPalette palette = area->palette();
  palette.setColor(QPalette::Window, Qt::black);
  area->setPalette(palette);
  area->setAutoFillBackground(true);
  return area;
}

// Every control carries the name of its role, by which scripts and tests find it.
template <typename Control>
Control* Named(Control* control, const char* name) {
  control->setObjectName(QLatin1String(name));
  return control;
}

template <typename Widget>
Widget* Button(QWidget* parent, const char* text, const char* name) {
  return Named(new Widget(QString::fromUtf8(text), parent), name);
}

}  // namespace

void CHalvardVideoConverterDlg::CreateControls() {
  // The template's font, smaller when the template would not fit the screen
  // (a high scale factor on a small screen).
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  CreateMenus();
  setFont(FitTemplateFont(font(), QSize(kTemplateWidth, kTemplateHeight),
                          WindowRoom() - QSize(0, m_menuBar->sizeHint().height())));
  const DialogUnits units(font());
  const int top = m_menuBar->sizeHint().height();
  m_menuBar->setGeometry(0, 0, units.X(kTemplateWidth), top);
  auto place = [&](QWidget* widget, int left, int y, int width, int height) {
    widget->setGeometry(units.Rect(left, y, width, height).translated(0, top));
  };

  // Created in tab order.
  m_btnAdd = Button<QPushButton>(this, "Add...", "addButton");
  m_btnAdd->setDefault(true);
  place(m_btnAdd, 240, 10, 32, 12);
  m_btnDelete = Button<QPushButton>(this, "Delete", "deleteButton");
  place(m_btnDelete, 276, 10, 32, 12);
  m_btnClear = Button<QPushButton>(this, "Clear", "clearButton");
  place(m_btnClear, 311, 10, 32, 12);
  m_listVideo = Named(new CFileDropListCtrl(this), "fileList");
  place(m_listVideo, 9, 26, 335, 154);
  m_editDestPath = Named(new CFilenameEdit(this), "destinationField");
  place(m_editDestPath, 10, 198, 122, 14);
  m_btnBrowse = Button<QPushButton>(this, "Browse...", "browseButton");
  place(m_btnBrowse, 136, 199, 32, 12);
  m_btnOpen = Button<QPushButton>(this, "Open", "openButton");
  place(m_btnOpen, 170, 199, 32, 12);
  m_comboDevice = Named(new QComboBox(this), "playerSelector");
  // The template's height is that of the open list; the closed box keeps its own.
  place(m_comboDevice, 211, 199, 132, 12);
  m_comboDevice->resize(m_comboDevice->width(), m_comboDevice->sizeHint().height());
  m_comboDevice->setMaxVisibleItems(qMax(1, units.Y(51) / qMax(1, fontMetrics().height()) - 1));
  m_checkTransfer =
      Button<QCheckBox>(this, "Transfer video output file to player after conversion is complete.", "transferOption");
  place(m_checkTransfer, 10, 221, 263, 19);
  m_btnConvert = Button<QPushButton>(this, kConvertCaption, "convertButton");
  place(m_btnConvert, 113, 256, 50, 14);
  m_btnQuit = Button<QPushButton>(this, "&Quit", "quitButton");
  place(m_btnQuit, 199, 256, 50, 14);
  m_btnPlay = Button<QPushButton>(this, "Play", "playButton");
  place(m_btnPlay, 387, 124, 32, 12);
  m_btnStop = Button<QPushButton>(this, "Stop", "stopButton");
  place(m_btnStop, 432, 124, 32, 12);
  m_staticHint = Named(
      new QLabel(QStringLiteral("Drag and drop video files from your file manager onto Input Video Files..."), this),
      "hintLabel");
  place(m_staticHint, 8, 12, 230, 12);
  m_staticStatus = Named(new QLabel(QString::fromUtf8(kNoPlayerText), this), "statusLine");
  m_staticStatus->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  m_staticStatus->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  place(m_staticStatus, 4, 286, 338, 14);
  m_staticPlayer = Named(new QLabel(QStringLiteral("Player:"), this), "playerLabel");
  place(m_staticPlayer, 211, 186, 27, 9);
  m_staticPreview = Named(BlackArea(this), "previewArea");
  place(m_staticPreview, 353, 11, 150, 109);
  m_staticFolder = Named(new QLabel(QStringLiteral("Target Folder:"), this), "folderLabel");
  place(m_staticFolder, 10, 186, 57, 11);
  m_staticThumbnail = Named(new ThumbnailArea(this), "thumbnailArea");
  place(m_staticThumbnail, 353, 11, 150, 109);
  m_staticThumbnail->hide();
  m_frameOptions = Named(new QFrame(this), "optionsFrame");
  m_frameOptions->setFrameStyle(QFrame::Box | QFrame::Sunken);
  place(m_frameOptions, 354, 140, 150, 162);
  m_staticHelpSpot = Named(new QLabel(this), "helpSpot");
  place(m_staticHelpSpot, 10, 256, 10, 8);
  m_staticHelpSpot->hide();
  m_rectHelpSpot = m_staticHelpSpot->geometry();
  m_devicePicture = Named(new CDevicePiture(this), "playerPicture");
  place(m_devicePicture, 282, 215, 60, 67);
  for (QWidget* label : {static_cast<QWidget*>(m_staticHint), static_cast<QWidget*>(m_staticStatus),
                         static_cast<QWidget*>(m_staticPlayer), static_cast<QWidget*>(m_staticFolder)})
    label->setFocusPolicy(Qt::NoFocus);

  // The template's placement is the smallest window; what is more goes to
  // the list and the panel.
  const std::pair<QWidget*, Follow> follows[] = {
      {m_staticHint, Follow::kStays},          {m_btnAdd, Follow::kListRight},
      {m_btnDelete, Follow::kListRight},       {m_btnClear, Follow::kListRight},
      {m_listVideo, Follow::kList},            {m_staticFolder, Follow::kBelowList},
      {m_editDestPath, Follow::kBelowListWide}, {m_btnBrowse, Follow::kBelowListRight},
      {m_btnOpen, Follow::kBelowListRight},    {m_staticPlayer, Follow::kBelowListRight},
      {m_comboDevice, Follow::kBelowListRight}, {m_checkTransfer, Follow::kBelowList},
      {m_devicePicture, Follow::kBelowListRight}, {m_btnConvert, Follow::kBelowListMiddle},
      {m_btnQuit, Follow::kBelowListMiddle},   {m_staticHelpSpot, Follow::kBelowList},
      {m_staticStatus, Follow::kBelowListWide}, {m_staticPreview, Follow::kOverPanel},
      {m_staticThumbnail, Follow::kOverPanel}, {m_btnPlay, Follow::kOverPanel},
      {m_btnStop, Follow::kOverPanel},         {m_frameOptions, Follow::kPanel}};
  for (const auto& [widget, follow] : follows) m_placements.push_back({widget, widget->geometry(), follow});
  m_templateSize = QSize(units.X(kTemplateWidth), units.Y(kTemplateHeight) + top);
  setMinimumSize(m_templateSize);
  resize(OpeningSize());
}

QSize CHalvardVideoConverterDlg::WindowRoom() const {
  // The window's frame is not known before it is shown: room is kept for a
  // title bar and borders.
  const int frame = 2 * kFrameBorder;
  const QSize available = screen()->availableGeometry().size();
  return available - QSize(frame, frame + style()->pixelMetric(QStyle::PM_TitleBarHeight));
}

QSize CHalvardVideoConverterDlg::OpeningSize() const {
  const StoredWindowSize stored = LoadWindowSize(SettingsFilePath());
  if (stored.width <= 0) return m_templateSize;
  // A size kept on a larger screen (or at a smaller scale) is brought inside this one.
  const QSize room = WindowRoom().expandedTo(m_templateSize);
  return QSize(stored.width, stored.height).expandedTo(m_templateSize).boundedTo(room);
}

void CHalvardVideoConverterDlg::KeepWindowSize() const {
  const QSize size = normalGeometry().isValid() ? normalGeometry().size() : this->size();
  SaveWindowSize(SettingsFilePath(), {size.width(), size.height()});
}

void CHalvardVideoConverterDlg::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (m_templateSize.isEmpty()) return;
  const QSize extra = size() - m_templateSize;
  m_menuBar->setGeometry(0, 0, width(), m_menuBar->height());
  for (const Placement& placed : m_placements) placed.widget->setGeometry(FollowRect(placed.base, placed.follow, extra));
  m_rectHelpSpot = m_staticHelpSpot->geometry();
}

void CHalvardVideoConverterDlg::CreateMenus() {
  m_menuBar = Named(new QMenuBar(this), "menuBar");
  // The one popup sits at the right edge of the bar.
  m_menuBar->setLayoutDirection(Qt::RightToLeft);
  QMenu* help = Named(m_menuBar->addMenu(QStringLiteral("&Help     ")), "helpMenu");
  help->setLayoutDirection(Qt::LeftToRight);
  QAction* helpItem = help->addAction(QStringLiteral("&Help...                                      F1"));
  QAction* aboutItem = help->addAction(QStringLiteral("&About Norvik KDX Video Converter..."));
  connect(helpItem, &QAction::triggered, this, &CHalvardVideoConverterDlg::OnHelp);
  connect(aboutItem, &QAction::triggered, this, &CHalvardVideoConverterDlg::OnAbout);

  // The file list's menu.
  m_contextMenu = Named(new QMenu(this), "contextMenu");
  connect(m_contextMenu->addAction(QStringLiteral("&Add")), &QAction::triggered, this, &CHalvardVideoConverterDlg::OnAdd);
  connect(m_contextMenu->addAction(QStringLiteral("&Delete")), &QAction::triggered, this,
          &CHalvardVideoConverterDlg::OnDelete);
  connect(m_contextMenu->addAction(QStringLiteral("&Play")), &QAction::triggered, this, &CHalvardVideoConverterDlg::OnPlay);
  connect(m_contextMenu->addAction(QStringLiteral("&Stop")), &QAction::triggered, this,
          &CHalvardVideoConverterDlg::StopPreview);
}

void CHalvardVideoConverterDlg::CreateOptionsPanel() {
  m_optionTree = Named(new COptionTree(m_frameOptions), "optionsPanel");
  auto* layout = new QVBoxLayout(m_frameOptions);
  layout->setContentsMargins(m_frameOptions->frameWidth(), m_frameOptions->frameWidth(), m_frameOptions->frameWidth(),
                             m_frameOptions->frameWidth());
  layout->addWidget(m_optionTree);

  auto category = [this](const char* label) {
    COptionTreeItem* item = m_optionTree->InsertItem(new COptionTreeItem);
    item->SetLabelText(QString::fromUtf8(label));
    return item;
  };
  auto readOnly = [this](COptionTreeItem* parent, const char* label) {
    auto* item = m_optionTree->InsertItem(new COptionTreeItemStatic, parent);
    item->SetLabelText(QString::fromUtf8(label));
    return item;
  };
  COptionTreeItem* player = category("Player");
  m_itemPlayerName = readOnly(player, "Player Name");
  m_itemVideoCodec = readOnly(player, "Video Codec");
  m_itemDimension = readOnly(player, "Dimension");
  m_itemFrameRate = readOnly(player, "Frame Rate");
  m_itemAudioCodec = readOnly(player, "Audio Codec");

  COptionTreeItem* output = category("Output Video");
  m_itemDuration = readOnly(output, "Duration");
  m_itemDuration->SetStaticText(QStringLiteral("00:00:00"));
  m_itemOutputName = m_optionTree->InsertItem(new COptionTreeItemEdit, output);
  m_itemOutputName->SetLabelText(QStringLiteral("Destination "));
  for (COptionTreeItemDate** time : {&m_itemStart, &m_itemEnd}) {
    *time = m_optionTree->InsertItem(new COptionTreeItemDate, output);
    (*time)->setDisplayFormat(QStringLiteral("HH:mm:ss "));
    (*time)->SetTimeRange(QTime(0, 0, 0), QTime(0, 0, 0));
  }
  m_itemStart->SetLabelText(QStringLiteral("Start"));
  m_itemEnd->SetLabelText(QStringLiteral("End"));
  m_itemVideoMode = m_optionTree->InsertItem(new COptionTreeItemComboBox, output);
  m_itemVideoMode->SetLabelText(QStringLiteral("Rotate"));
  m_itemVideoMode->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
  m_itemVideoMode->setCurrentIndex(0);
  m_itemQuality = m_optionTree->InsertItem(new COptionTreeItemComboBox, output);
  m_itemQuality->SetLabelText(QStringLiteral("Quality"));
  for (const char* quality : kQualityPresets) m_itemQuality->addItem(QString::fromUtf8(quality));
  m_itemQuality->setCurrentIndex(0);
  m_optionTree->Refresh();
  connect(m_optionTree, &COptionTree::itemChanged, this, &CHalvardVideoConverterDlg::OnOptionChanged);
}

void CHalvardVideoConverterDlg::SetUpFileList() {
  AttachQueue();
  // The client width before the list is first shown.
  const int width = m_listVideo->maximumViewportSize().width();
  // The queue's columns: input files, type, size, status.
  const double shares[] = {0.5, 0.08, 0.1, 0.33};
  // The shares add up to a little more than the whole: Status takes what is
  // left, so no scroll bar appears for a list that fits.
  int used = 0;
  for (int column = 0; column < 4; ++column) {
    const int columnWidth = column < 3 ? static_cast<int>(width * shares[column])
                                       : std::min(static_cast<int>(width * shares[column]), width - used);
    m_listVideo->setColumnWidth(column, columnWidth);
    used += columnWidth;
  }
  m_listVideo->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_listVideo->setSelectionMode(QAbstractItemView::SingleSelection);
  m_listVideo->setShowGrid(true);
  m_listVideo->setSortingEnabled(false);
  m_listVideo->SetShowSelectionAlways(true);

  // Whatever is dropped goes to the queue, which takes every file FFmpeg can
  // read, whatever its extension, and names in the status line what it refuses.
  DropMode mode;
  mode.iMask = DropMode::DL_ACCEPT_FILES | DropMode::DL_ACCEPT_FOLDERS | DropMode::DL_USE_CALLBACK;
  mode.pfnCallback = [this](CFileDropListCtrl&, const QString& path, DropKind) { QueueFiles({path}); };
  mode.pfnRefused = [this](CFileDropListCtrl&, const QString& path) { QueueFiles({path}); };
  m_listVideo->SetDropMode(mode);

  m_listVideo->installEventFilter(this);
  m_listVideo->viewport()->installEventFilter(this);
  m_listVideo->horizontalHeader()->installEventFilter(this);
  connect(m_listVideo, &QAbstractItemView::clicked, this,
          [this](const QModelIndex& index) { OnRowClicked(index.row()); });
  // A row reached with the arrow keys is taken as a clicked one.
  connect(m_listVideo, &CXListCtrl::rowChosenByKey, this, &CHalvardVideoConverterDlg::OnRowClicked);
  connect(m_listVideo, &QAbstractItemView::doubleClicked, this, [this] {
    if (!IsConverting()) OnPlay();
  });
}
