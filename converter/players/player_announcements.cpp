// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/players/player_announcements.h"

#include <cstdio>
#include <vector>

#include "converter/core/support/log_file.h"
#include "converter/players/player_window.h"

namespace {

constexpr const char* kTransferToPlayerCaption = "Transfer output files to %s after conversion is complete.";
constexpr const char* kTransferOptionCaption = "Transfer video output file to player after conversion is complete.";

void OfferTransferTo(PlayerWindow& window, const std::string& modelName) {
  window.SetTransferOptionCaption(FormatWithName(kTransferToPlayerCaption, modelName));
  window.SetTransferOption(true);
}

}  // namespace

std::string FormatWithName(const char* textFormat, const std::string& modelName) {
  int length = std::snprintf(nullptr, 0, textFormat, modelName.c_str());
  std::vector<char> text(static_cast<size_t>(length > 0 ? length : 0) + 1);
  std::snprintf(text.data(), text.size(), textFormat, modelName.c_str());
  return text.data();
}

void AnnouncePlayer(PlayerWindow& window, const char* textFormat, const std::string& modelName, bool checkConversion) {
  window.SetStatusText(FormatWithName(textFormat, modelName));
  if (checkConversion && window.IsConverting()) {
    window.EnableTransferOption(false);
    if (window.CurrentPlayerText() != modelName) {
      WriteLog("Connected differnet device during converting.");
      return;
    }
    window.EnableTransferOption(true);
    window.EnablePlayerSelector(false);
    OfferTransferTo(window, modelName);
    return;
  }
  window.EnableTransferOption(true);
  std::vector<std::string> entries = window.PlayerSelectorEntries();
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] != modelName) continue;
    window.SelectPlayer(i);
    window.EnablePlayerSelector(false);
  }
  OfferTransferTo(window, modelName);
}

void ShowNoPlayer(PlayerWindow& window) {
  window.SetStatusText("No Supported Player Detected!");
  window.EnableTransferOption(false);
  if (!window.IsConverting()) window.EnablePlayerSelector(true);
  window.SetTransferOptionCaption(kTransferOptionCaption);
  window.SetTransferOption(false);
}
