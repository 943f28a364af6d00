// SPDX-License-Identifier: GPL-2.0-or-later
// What player detection and transfer need from the main window: its status
// line, the transfer option with its caption and bound member, the player
// selector, the Convert button, the converting flag and the rows' Status
// cells. The dialog implements it; tests use a recording fake.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class PlayerWindow {
 public:
  virtual ~PlayerWindow() = default;

  virtual void SetStatusText(const std::string& text) = 0;
  // Enables or disables the transfer option and repaints it.
  virtual void EnableTransferOption(bool enable) = 0;
  virtual void SetTransferOptionCaption(const std::string& caption) = 0;
  // Sets the member bound to the transfer option and moves it into the check box.
  virtual void SetTransferOption(bool ticked) = 0;
  virtual bool TransferOptionTicked() const = 0;

  // The player selector's current text and its entries in order.
  virtual std::string CurrentPlayerText() const = 0;
  virtual std::vector<std::string> PlayerSelectorEntries() const = 0;
  // Selects an entry and applies the selection as a user's choice would.
  virtual void SelectPlayer(size_t index) = 0;
  virtual void EnablePlayerSelector(bool enable) = 0;

  virtual void EnableConvertButton(bool enable) = 0;
  virtual bool IsConverting() const = 0;

  virtual bool IsRowEnabled(int row) const = 0;
  virtual void SetRowStatus(int row, const std::string& text) = 0;
};

// The modal warnings of a transfer; they have no owner window.
class WarningBox {
 public:
  virtual ~WarningBox() = default;
  virtual void ShowWarning(const std::string& text, const std::string& caption) = 0;
};
