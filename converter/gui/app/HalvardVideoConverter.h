// SPDX-License-Identifier: GPL-2.0-or-later
// The converter program: checks the computer, loads the device table, runs
// the main window and stops what start-up started.
#pragma once

#include <QStringList>
#include <memory>
#include <string>

#include "converter/core/devices/TesselConfigFile.h"
#include "converter/core/startup/TesselOSEnvironment.h"

class CWMDM;

class CHalvardVideoConverterApp {
 public:
  // The device table is read from `deviceTablePath`, or from the data
  // folder when it is empty.
  explicit CHalvardVideoConverterApp(std::string deviceTablePath = {});
  ~CHalvardVideoConverterApp();

  // Runs the whole program with `files` queued in the window; its message
  // boxes and window carry the program's icon. The exit status is 1 when
  // start-up ended the program, else 0.
  int Run(const QStringList& files);

  const CTesselConfigFile& devices() const { return m_configFile; }

 private:
  std::string m_strDeviceTablePath;
  CTesselConfigFile m_configFile;
  TesselOSEnvironment m_environment;
  std::unique_ptr<CWMDM> m_wmdm;
};
