// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/startup_gate.h"

#include <gtest/gtest.h>

#include "converter/core/startup/TesselOSEnvironment.h"
#include "tests/converter/core/startup/profile_fixture.h"

namespace {

using Texts = std::vector<std::string>;

const char kDirectXBox[] =
    "DirectX 9.0 or above is required in order to properly convert your video. The application has been aborted.";
const char kAdministratorBox[] =
    "Administrative Rights are required in order to properly detect and upgrade your device.  The Auto Updater has "
    "been aborted.";

// An administrator on XP with media player 11 and DirectX 9.0c; each test
// adds what differs.
const std::string kAdministrator = "[Token]\nGroups=S-1-1-0 S-1-5-32-544\n";
const std::string kNoAdministrator = "[Token]\nGroups=S-1-1-0 S-1-5-32-545\n";
const std::string kXP = "[OS]\nMajor=5\nMinor=1\nBuild=2600\n";
const std::string kXPLine = "Windows Version: Major = 5, Minor = 1, BuildNumber = 2600, PlatformId = 2";
// DirectX 8.1 as the system folder tells it, with no diagnostics service;
// `files` come first and so override it.
std::string DirectX81(const std::string& files = "") {
  return "[DxDiag]\nAvailable=0\n[Files]\n" + files +
         "system32\\d3d9.dll=missing\nsystem32\\dpnet.dll=missing\nsystem32\\mpg2splt.ax=missing\n"
         "system32\\d3d8.dll=4.8.1.881\n";
}

class RecordingMessageBox : public StartupMessageBox {
 public:
  void Show(const std::string& text) override { texts.push_back(text); }
  Texts texts;
};

class FakeDeviceTable : public DeviceTableLoader {
 public:
  bool Init() override {
    ++loads;
    return initWorks;
  }
  bool GetTesselDeviceNode() override { return readWorks; }
  bool initWorks = true;
  bool readWorks = true;
  int loads = 0;
};

// Records the calls of the device manager and of the dialog in order.
class RecordingDeviceManager : public DeviceManagerControl {
 public:
  explicit RecordingDeviceManager(Texts* calls) : calls_(calls) {}
  HRESULT Initialize() override {
    calls_->push_back("Initialize");
    return result;
  }
  void Uninitialize() override { calls_->push_back("Uninitialize"); }
  HRESULT result = S_OK;

 private:
  Texts* calls_;
};

struct StartupRun {
  StartupOutcome outcome;
  Texts boxes;
  Texts log;
  Texts calls;  // device manager and dialog, in order
};

StartupRun Start(const std::string& profileText, FakeDeviceTable table = {}, HRESULT managerResult = S_OK) {
  ScratchLog log;
  ScopedProfile profile(profileText);
  StartupRun run;
  RecordingMessageBox box;
  RecordingDeviceManager manager(&run.calls);
  manager.result = managerResult;
  TesselOSEnvironment environment;
  run.outcome = RunStartup(environment, box, table, manager,
                           [&](const StartupOutcome&) { run.calls.push_back("dialog"); });
  run.boxes = box.texts;
  run.log = LoggedTexts(log);
  return run;
}

// The dialog opened without a message and without the device manager.
void ExpectOpenedWithoutDeviceManager(const StartupRun& run, bool deviceSupport, const std::string& lastLine) {
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(run.log.back(), lastLine);
  EXPECT_TRUE(run.outcome.openDialog);
  EXPECT_EQ(run.outcome.m_players.m_bDeviceSupport, deviceSupport);
  EXPECT_EQ(run.calls, Texts{"dialog"});
}

TEST(StartupGate, AdministratorOnXPWithPlayer11UsesTheDeviceManager) {
  StartupRun run = Start(kAdministrator + kXP);
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(run.log, (Texts{"IE: v602900", "DirextX:v9.0c", kXPLine, "WMP:v11,0,5721,5145", "WMP10Installed!"}));
  EXPECT_EQ(run.calls, (Texts{"Initialize", "dialog", "Uninitialize"}));
  EXPECT_TRUE(run.outcome.openDialog);
  EXPECT_TRUE(run.outcome.m_players.m_bDeviceSupport);
  EXPECT_TRUE(run.outcome.m_players.m_bWMDMPath);
  EXPECT_EQ(run.outcome.m_nWindowsVersion, 4);
}

TEST(StartupGate, OldBrowserComponentSwitchesPlayerSupportOff) {
  StartupRun run = Start(kAdministrator + kXP + "[Browser]\nVersion=5.50.4807\n");
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(run.log, (Texts{"IE: v5504807", "IE version is lower then 6.0! No device support.", "DirextX:v9.0c",
                            kXPLine, "WMP:v11,0,5721,5145", "WMP10Installed!"}));
  EXPECT_FALSE(run.outcome.m_players.m_bDeviceSupport);
  EXPECT_TRUE(run.outcome.m_players.m_bWMDMPath);
  EXPECT_EQ(run.calls, Texts{"dialog"}) << "the device manager is neither started nor stopped";
}

TEST(StartupGate, DirectXBelowNineEndsAfterTheMessage) {
  StartupRun run = Start(kAdministrator + kXP + DirectX81());
  EXPECT_EQ(run.boxes, Texts{kDirectXBox});
  EXPECT_EQ(run.log, (Texts{"IE: v602900", "DirextX:v8.1", "DirectX 8.1 Installed. Application abort."}));
  EXPECT_TRUE(run.calls.empty());
  EXPECT_FALSE(run.outcome.openDialog);
  EXPECT_EQ(run.outcome.m_nWindowsVersion, -1) << "the Windows version is not asked";

  // No DirectX found at all.
  run = Start(kAdministrator + kXP + DirectX81("system32\\d3d8.dll=missing\nsystem32\\ddraw.dll=missing\n"
                                                "system32\\dplayx.dll=missing\nsystem32\\dinput.dll=missing\n"));
  EXPECT_EQ(run.boxes, Texts{kDirectXBox});
  EXPECT_EQ(run.log.back(), "DirectX 0.0 Installed. Application abort.");
  EXPECT_FALSE(run.outcome.openDialog);

  // 9.0 from d3d9.dll alone is enough.
  run = Start(kAdministrator + kXP + DirectX81("system32\\d3d9.dll=5.3.2600.2180\n"));
  EXPECT_TRUE(run.boxes.empty());
  EXPECT_EQ(run.log[1], "DirextX:v9.0");
  EXPECT_TRUE(run.outcome.openDialog);
}

TEST(StartupGate, CodesThreeAndFourNeedAdministratorRights) {
  for (const std::string& os : {std::string("[OS]\nMinor=0\n"), kXP}) {
    StartupRun run = Start(kNoAdministrator + os);
    EXPECT_EQ(run.boxes, Texts{kAdministratorBox});
    ASSERT_EQ(run.log.size(), 4u);
    // Code 4 with media player 10 ends before the player is looked at.
    EXPECT_EQ(run.log.back(), "No administrative rights!");
    EXPECT_TRUE(run.calls.empty());
    EXPECT_FALSE(run.outcome.openDialog);
  }
  StartupRun run = Start(kAdministrator + "[OS]\nMinor=0\n");
  ExpectOpenedWithoutDeviceManager(run, true,
                                   "Windows Version: Major = 5, Minor = 0, BuildNumber = 2600, PlatformId = 2");
  EXPECT_EQ(run.outcome.m_nWindowsVersion, 3);
  EXPECT_FALSE(run.outcome.m_players.m_bWMDMPath) << "code 3 reaches players as drives";
}

TEST(StartupGate, OtherWindowsVersionsSkipTheAdministratorCheckWithoutPlayerSupport) {
  struct Case {
    std::string os;
    std::string lastLine;
  };
  const Case cases[] = {
      {"[OS]\nMinor=2\n", "Windows Version: Major = 5, Minor = 2, BuildNumber = 2600, PlatformId = 2"},
      {"[OS]\nPlatformId=1\nMajor=4\nMinor=10\n",
       "Windows Version: Major = 4, Minor = 10, BuildNumber = 2600, PlatformId = 1"},
      {"[OS]\nAvailable=0\n", "DirextX:v9.0c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.os);
    StartupRun run = Start(kNoAdministrator + c.os);
    ExpectOpenedWithoutDeviceManager(run, false, c.lastLine);
    EXPECT_FALSE(run.outcome.m_players.m_bWMDMPath);
  }
}

TEST(StartupGate, XPWithoutPlayer10UsesTheDrivePath) {
  StartupRun run = Start(kAdministrator + kXP + "[Registry]\nSoftware\\Microsoft\\Active Setup\\Installed Components\\"
                                         "{6BF52A52-394A-11d3-B153-00C04F79FAA6}\\Version=9,0,0,3250\n");
  ExpectOpenedWithoutDeviceManager(run, true, "No WMP10 Installed! No device support.");
  EXPECT_FALSE(run.outcome.m_players.m_bWMDMPath);
}

TEST(StartupGate, UnreadableDeviceTableSwitchesPlayerSupportOff) {
  FakeDeviceTable unreadable;
  unreadable.readWorks = false;
  StartupRun run = Start(kAdministrator + kXP, unreadable);
  ExpectOpenedWithoutDeviceManager(run, false, "Error: Read TesselDeviceConfig File Error! No device support.");
}

TEST(StartupGate, MissingDeviceConfigurationOpensTheDialogWithNoPlayers) {
  ScratchLog log;
  ScopedProfile profile(kAdministrator + kXP);
  kdxtest::ScratchDir folder;
  CTesselConfigFile table;
  TesselConfigTableLoader loader(table, folder.File("TesselDeviceConfig.xml"));
  RecordingMessageBox box;
  Texts calls;
  RecordingDeviceManager manager(&calls);
  TesselOSEnvironment environment;
  size_t playersInDialog = 99;
  StartupOutcome outcome = RunStartup(environment, box, loader, manager, [&](const StartupOutcome& started) {
    EXPECT_FALSE(started.m_players.m_bDeviceSupport);
    playersInDialog = table.GetDeviceCount();
  });
  EXPECT_TRUE(box.texts.empty());
  EXPECT_TRUE(outcome.openDialog);
  EXPECT_EQ(playersInDialog, 0u);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(LoggedTexts(log).back(), "Error: Init TesselDeviceConfig File Error! No device support.");
}

TEST(StartupGate, DeviceManagerThatDoesNotStartEndsTheProgram) {
  StartupRun run = Start(kAdministrator + kXP, {}, E_FAIL);
  EXPECT_EQ(run.boxes, Texts{"Init WMDM failed!"});
  EXPECT_EQ(run.log.back(), "Error: WMDM Init failed! Application abort");
  EXPECT_EQ(run.calls, Texts{"Initialize"}) << "no dialog and no stop of what did not start";
  EXPECT_FALSE(run.outcome.openDialog);
}

}  // namespace
