// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/players/window_player_port.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <utility>

#include "converter/gui/queue/conversion_queue_model.h"
#include "converter/gui/widgets/status_line.h"

WindowPlayerPort::WindowPlayerPort(const Controls& controls, std::function<void()> applySelection,
                                   std::function<bool()> converting)
    : m_controls(controls), m_applySelection(std::move(applySelection)), m_converting(std::move(converting)) {}

void WindowPlayerPort::SetStatusText(const std::string& text) {
  ShowStatusText(*m_controls.statusLine, QString::fromStdString(text));
}

void WindowPlayerPort::EnableTransferOption(bool enable) {
  m_controls.transferOption->setEnabled(enable);
  m_controls.transferOption->repaint();
}

void WindowPlayerPort::SetTransferOptionCaption(const std::string& caption) {
  m_controls.transferOption->setText(QString::fromStdString(caption));
}

void WindowPlayerPort::SetTransferOption(bool ticked) { m_controls.transferOption->setChecked(ticked); }

// The check box is the option's only record: a user's click and the
// program's setting both land there.
bool WindowPlayerPort::TransferOptionTicked() const { return m_controls.transferOption->isChecked(); }

std::string WindowPlayerPort::CurrentPlayerText() const {
  return m_controls.playerSelector->currentText().toStdString();
}

std::vector<std::string> WindowPlayerPort::PlayerSelectorEntries() const {
  std::vector<std::string> entries;
  for (int i = 0; i < m_controls.playerSelector->count(); ++i)
    entries.push_back(m_controls.playerSelector->itemText(i).toStdString());
  return entries;
}

void WindowPlayerPort::SelectPlayer(size_t index) {
  if (index >= static_cast<size_t>(m_controls.playerSelector->count())) return;
  m_controls.playerSelector->setCurrentIndex(static_cast<int>(index));
  m_applySelection();
}

void WindowPlayerPort::EnablePlayerSelector(bool enable) { m_controls.playerSelector->setEnabled(enable); }

void WindowPlayerPort::EnableConvertButton(bool enable) { m_controls.convertButton->setEnabled(enable); }

bool WindowPlayerPort::IsConverting() const { return m_converting(); }

bool WindowPlayerPort::IsRowEnabled(int row) const { return m_controls.queue->IsEnabled(row); }

void WindowPlayerPort::SetRowStatus(int row, const std::string& text) {
  m_controls.queue->SetStatus(row, QString::fromStdString(text));
}
