// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's controls as player detection and transfer drive them:
// the status line, the transfer option, the player selector, the Convert
// button and the rows' Status cells. The window owns it and hands it to
// DialogPlayers.
#pragma once

#include <functional>

#include "converter/players/player_window.h"

class ConversionQueueModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class WindowPlayerPort : public PlayerWindow {
 public:
  struct Controls {
    QLabel* statusLine;
    QCheckBox* transferOption;
    QComboBox* playerSelector;
    QPushButton* convertButton;
    ConversionQueueModel* queue;
  };
  // `applySelection` applies the selector's current entry as a user's choice
  // does; `converting` tells whether a batch runs.
  WindowPlayerPort(const Controls& controls, std::function<void()> applySelection, std::function<bool()> converting);

  void SetStatusText(const std::string& text) override;
  void EnableTransferOption(bool enable) override;
  void SetTransferOptionCaption(const std::string& caption) override;
  void SetTransferOption(bool ticked) override;
  bool TransferOptionTicked() const override;
  std::string CurrentPlayerText() const override;
  std::vector<std::string> PlayerSelectorEntries() const override;
  void SelectPlayer(size_t index) override;
  void EnablePlayerSelector(bool enable) override;
  void EnableConvertButton(bool enable) override;
  bool IsConverting() const override;
  bool IsRowEnabled(int row) const override;
  void SetRowStatus(int row, const std::string& text) override;

 private:
  Controls m_controls;
  std::function<void()> m_applySelection;
  std::function<bool()> m_converting;
};
