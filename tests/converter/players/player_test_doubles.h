// SPDX-License-Identifier: GPL-2.0-or-later
// A main window and warning boxes that record what player detection and
// transfer do to them, and a device table written for the test.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "converter/core/devices/TesselConfigFile.h"
#include "converter/players/player_window.h"
#include "tests/support/test_paths.h"

class RecordingPlayerWindow : public PlayerWindow {
 public:
  RecordingPlayerWindow() : entries{"NK-128", "NK-176T", "NK-ROOT"} {}

  void SetStatusText(const std::string& text) override { statusTexts.push_back(text); }
  void EnableTransferOption(bool enable) override { transferEnabled = enable; }
  void SetTransferOptionCaption(const std::string& text) override { caption = text; }
  void SetTransferOption(bool ticked) override { transferTicked = ticked; }
  bool TransferOptionTicked() const override { return transferTicked; }
  std::string CurrentPlayerText() const override { return entries.at(selected); }
  std::vector<std::string> PlayerSelectorEntries() const override { return entries; }
  void SelectPlayer(size_t index) override {
    selected = index;
    ++selectionsApplied;
  }
  void EnablePlayerSelector(bool enable) override { selectorEnabled = enable; }
  void EnableConvertButton(bool enable) override { convertEnabled = enable; }
  bool IsConverting() const override { return converting; }
  bool IsRowEnabled(int) const override { return rowEnabled; }
  void SetRowStatus(int row, const std::string& text) override { rowStatuses.push_back(std::to_string(row) + ":" + text); }

  std::string status() const { return statusTexts.empty() ? std::string() : statusTexts.back(); }

  std::vector<std::string> entries;
  size_t selected = 0;
  int selectionsApplied = 0;
  bool selectorEnabled = true;
  bool transferEnabled = false;
  bool transferTicked = false;
  bool convertEnabled = false;
  bool converting = false;
  bool rowEnabled = true;
  std::string caption = "Transfer video output file to player after conversion is complete.";
  std::vector<std::string> statusTexts;
  std::vector<std::string> rowStatuses;
};

class RecordingWarnings : public WarningBox {
 public:
  void ShowWarning(const std::string& text, const std::string& caption) override {
    shown.push_back(caption + ": " + text);
  }
  std::vector<std::string> shown;
};

// NK-128 (1f3a/0128, "\VIDEO"), NK-176T (1f3a/0176, "\VIDEO\Clips") and
// NK-ROOT (1f3a/0200, no folder), loaded from a file in `dir`.
inline void LoadPlayerTable(const kdxtest::ScratchDir& dir, CTesselConfigFile& table) {
  std::string xml = "<Root>";
  const char* rows[][4] = {{"1f3a", "0128", "NK-128", "\\VIDEO"},
                           {"1f3a", "0176", "NK-176T", "\\VIDEO\\Clips"},
                           {"1f3a", "0200", "NK-ROOT", ""}};
  for (const auto& row : rows) {
    xml += std::string("<Device><idVendor>") + row[0] + "</idVendor><idProduct>" + row[1] + "</idProduct><ModelName>" +
           row[2] + "</ModelName><TargetFolder>" + row[3] + "</TargetFolder></Device>";
  }
  std::string path = dir.File("TesselDeviceConfig.xml");
  FILE* file = std::fopen(path.c_str(), "w");
  std::fputs((xml + "</Root>").c_str(), file);
  std::fclose(file);
  if (!table.Init(path) || !table.GetTesselDeviceNode()) ADD_FAILURE() << "device table not loaded";
}
