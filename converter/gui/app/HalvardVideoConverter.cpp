// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/gui/app/HalvardVideoConverter.h"

#include <QApplication>
#include <utility>

#include "converter/gui/window/HalvardVideoConverterDlg.h"
#include "converter/players/WMDM.h"
#include "converter/gui/widgets/message_box.h"
#include "converter/gui/app/program_icon.h"
#include "converter/core/startup/startup_gate.h"
#include "converter/gui/app/termination_signals.h"

namespace {

// Start-up's messages have no owner window.
class OwnerlessWarningBox : public StartupMessageBox {
 public:
  void Show(const std::string& text) override { ShowWarningBox(nullptr, QString::fromStdString(text)); }
};

class WmdmControl : public DeviceManagerControl {
 public:
  explicit WmdmControl(CWMDM& wmdm) : m_wmdm(wmdm) {}
  HRESULT Initialize() override { return m_wmdm.Initialize(); }
  void Uninitialize() override { m_wmdm.Uninitialize(); }

 private:
  CWMDM& m_wmdm;
};

}  // namespace

CHalvardVideoConverterApp::CHalvardVideoConverterApp(std::string deviceTablePath)
    : m_strDeviceTablePath(std::move(deviceTablePath)), m_wmdm(std::make_unique<CWMDM>()) {}

CHalvardVideoConverterApp::~CHalvardVideoConverterApp() = default;

int CHalvardVideoConverterApp::Run(const QStringList& files) {
  QApplication::setWindowIcon(ProgramIcon());
  OwnerlessWarningBox messageBox;
  TesselConfigTableLoader table(m_configFile, m_strDeviceTablePath);
  WmdmControl deviceManager(*m_wmdm);
  const StartupOutcome outcome =
      RunStartup(m_environment, messageBox, table, deviceManager, [&](const StartupOutcome& gate) {
        CHalvardVideoConverterDlg dialog(m_configFile, gate.m_players, m_wmdm.get());
        TerminationSignals terminationSignals(dialog);
        dialog.QueueStartupFiles(files);
        dialog.exec();
      });
  return outcome.openDialog ? 0 : 1;
}
