// SPDX-License-Identifier: GPL-2.0-or-later
// What the conversion batch needs from the main window besides the queue's
// rows: questions, the status line, the thumbnail, the buttons. The window's
// batch port implements it; tests use a fake.
#pragma once

#include <QImage>
#include <QString>
#include <string>

#include "converter/core/devices/device_config_entry.h"
#include "platform/base/platform_types.h"
#include "converter/players/transfer_outcome.h"

class QWidget;

class BatchWindow {
 public:
  virtual ~BatchWindow() = default;

  // Owner of the batch's message boxes.
  virtual QWidget* MessageBoxOwner() = 0;
  // Where the encoder posts WM_TRANSCODE_PROGRESS and WM_TRANSCODE_ERROR;
  // the window hands them back to the batch's handlers on its own thread.
  virtual HWND WindowHandle() const = 0;

  // Makes the row the highlighted one; the options panel follows it.
  virtual void MakeRowCurrent(int row) = 0;
  virtual void StopPreview() = 0;
  virtual void SetStatusText(const QString& text) = 0;

  // The Convert button's caption ("&Convert" or "&Cancel") and the Quit button.
  virtual void SetConvertCaption(const QString& caption) = 0;
  virtual void EnableQuit(bool enable) = 0;
  // Everything else a batch locks: the options panel, the context menu's
  // items, the destination field, Browse, Add, Delete, Clear, Play, Stop and
  // the player selector.
  virtual void EnableBatchLockedControls(bool enable) = 0;

  // Draws a thumbnail into the thumbnail area (shown for it), filled black
  // first; a null picture leaves the area black. atOwnSize centres the
  // picture at its own size, else it is stretched over the area.
  virtual void ShowThumbnail(const QImage& picture, bool atOwnSize) = 0;
  // Hides the thumbnail area and shows the preview area again.
  virtual void ShowPreviewArea() = 0;

  // The dialog's fields as they read now (the destination field is read
  // first, as a user may have typed into it).
  virtual std::string DestinationFolder() = 0;
  virtual void ShowDestinationFolder(const std::string& folder) = 0;
  // The player model chosen in the selector; null when the device table is
  // empty.
  virtual const DEVICE_CONFIG_ENTRY* SelectedModel() const = 0;
  // The options panel's "Video Codec" text.
  virtual QString VideoCodecText() const = 0;
  // The setting "Add silence to videos without sound".
  virtual bool AddSilence() const { return false; }

  // Copies a converted file to the connected player when player support is
  // on and the transfer option is ticked; whether it was tried, whether it
  // reached the player, and why not.
  virtual TransferOutcome TransferOutputFile(int row, const std::string& path) = 0;
};
