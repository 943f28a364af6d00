// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/devices/TesselConfigFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "converter/core/request/conversion_options.h"
#include "tests/converter/core/test_env.h"
#include "converter/core/request/transcoder_request.h"

namespace {

std::string Device(const std::string& vid, const std::string& pid, const std::string& name) {
  return "<Device><idVendor>" + vid + "</idVendor><idProduct>" + pid + "</idProduct><ModelName>" + name +
         "</ModelName><TargetFolder>\\VIDEO</TargetFolder></Device>";
}

// Loads a table from the given document text.
class DeviceTable : public ::testing::Test {
 protected:
  bool Load(const std::string& xml) {
    std::ofstream(dir_.File("devices.xml")) << xml;
    return config_.Init(dir_.File("devices.xml")) && config_.GetTesselDeviceNode();
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (size_t i = 0; i < config_.GetDeviceCount(); ++i) names.push_back(config_.GetDevice(i).ModelName);
    return names;
  }

  ScratchLog log_;
  kdxtest::ScratchDir dir_;
  CTesselConfigFile config_;
};

TEST_F(DeviceTable, FindsDevicesAtAnyDepthInDocumentOrder) {
  ASSERT_TRUE(Load("<Root a='1'>" + Device("1", "1", "A") + "<Group><Sub>" + Device("2", "2", "B") +
                   "</Sub></Group><Device><ModelName>C</ModelName>" + Device("4", "4", "D") +
                   "</Device><device><ModelName>lower case is another element</ModelName></device></Root>"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(config_.count(), 4);
}

TEST_F(DeviceTable, ReadsEveryFieldFromTheFirstChildOfEachNameTrimmed) {
  ASSERT_TRUE(Load(R"(<Root><Device>
      <idVendor>
        12aB
      </idVendor>
      <idProduct>0a0B</idProduct>
      <ModelName>First</ModelName><ModelName>Second</ModelName>
      <TargetFolder>\VIDEO\KDX</TargetFolder>
      <Video><Format>kdx</Format><ScreenSize>176*220</ScreenSize><FrameRate> 20 </FrameRate>
             <Rotate>
               1
             </Rotate><BitRate>45KB</BitRate></Video>
      <Video><Format>AVI</Format></Video>
      <Audio><Format><![CDATA[IMA]]> ADPCM</Format><BitRate>22050</BitRate></Audio>
    </Device></Root>)"));
  ASSERT_EQ(config_.GetDeviceCount(), 1u);
  const DEVICE_CONFIG_ENTRY& e = config_.GetDevice(0);
  EXPECT_EQ(e.idVendor, "12aB");
  EXPECT_EQ(e.idProduct, "0a0B");
  EXPECT_EQ(e.ModelName, "First");
  EXPECT_EQ(e.TargetFolder, "\\VIDEO\\KDX");
  EXPECT_EQ(e.VideoFormat, "kdx");
  EXPECT_EQ(e.ScreenSize, "176*220");
  EXPECT_EQ(e.FrameRate, "20");
  EXPECT_EQ(e.Rotate, "1");
  EXPECT_EQ(e.VideoBitRate, "45KB");
  EXPECT_EQ(e.AudioFormat, "IMA ADPCM");
  EXPECT_EQ(e.AudioBitRate, "22050");
  EXPECT_STREQ(DefaultVideoMode(e), kModeFullScreen);
  EXPECT_TRUE(IsKdxModel(e));
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(DeviceTable, MissingChildrenLeaveEmptyFieldsAndLogTheRequiredOnes) {
  ASSERT_TRUE(Load("<Root><Device><ModelName>Bare</ModelName><Video><Rotate>01</Rotate></Video></Device></Root>"));
  ASSERT_EQ(config_.GetDeviceCount(), 1u);
  const DEVICE_CONFIG_ENTRY& e = config_.GetDevice(0);
  EXPECT_EQ(e.ModelName, "Bare");
  EXPECT_EQ(e.idVendor + e.idProduct + e.TargetFolder + e.VideoFormat + e.AudioFormat, "");
  EXPECT_STREQ(DefaultVideoMode(e), kModeFullImage);
  auto lines = log_.Lines();
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0].find("TesselConfigFile.cpp"), std::string::npos) << lines[0];
  EXPECT_NE(lines[0].find("): selectSingleNode idVendor error!"), std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("): selectSingleNode idProduct error!"), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find("): selectSingleNode TargetFolder error!"), std::string::npos) << lines[2];
}

TEST_F(DeviceTable, LookupTakesTheFirstEntryWhoseIdsMatchIgnoringCaseOverTheShorterLength) {
  ASSERT_TRUE(Load("<Root>" + Device("12ab", "0001", "Exact") + Device("12AB", "0001", "Shadowed") +
                   Device("34", "", "Prefix") + Device("", "", "Anything") + "</Root>"));
  EXPECT_EQ(config_.FindDeviceEntry("12AB", "0001"), 0u);
  EXPECT_EQ(config_.FindDeviceEntry("3456", "9999"), 2u);
  EXPECT_EQ(config_.FindDeviceEntry("12AB", "0002"), 3u);
  EXPECT_TRUE(IdFieldsMatch("12", "12cd"));
  EXPECT_FALSE(IdFieldsMatch("12ab", "12ac"));
}

TEST_F(DeviceTable, AFileWithoutDevicesLoadsAnEmptyTable) {
  ASSERT_TRUE(Load("<Root><Players/></Root>"));
  EXPECT_EQ(config_.count(), 0);
  EXPECT_EQ(config_.GetDeviceCount(), 0u);
  EXPECT_FALSE(config_.FindDeviceEntry("1234", "5678").has_value());
}

TEST_F(DeviceTable, UnreadableFilesFailWithTheirLogLines) {
  EXPECT_FALSE(config_.Init(dir_.File("missing.xml")));
  EXPECT_FALSE(Load("<Root><Device></Root>"));
  auto lines = log_.Lines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[0].find("  **CTesselConfigFile_Init** load file [" + dir_.File("missing.xml") + "] failed: "),
            std::string::npos) << lines[0];
  EXPECT_NE(lines[1].find("**CTesselConfigFile_Init** load file [" + dir_.File("devices.xml") + "] failed: "),
            std::string::npos) << lines[1];

  // Documents the parser would take although they are not well formed.
  const std::string device = Device("1", "2", "A");
  for (const std::string& xml : std::vector<std::string>{
           "<Root>" + device + "</Root><Root/>", "<Root>" + device + "</Root>stray text", "text<Root>" + device + "</Root>",
        "<Root>" + device + "</Root><![CDATA[x]]>", "<Root id='1' id='2'>" + device + "</Root>",
        "<Root><Device model='a' x='1' model='b'/></Root>", "<!-- only a comment -->"}) {
    EXPECT_FALSE(Load(xml)) << xml;
  }
  // Markup and white space around the one root are fine.
  EXPECT_TRUE(Load("<?xml version='1.0'?>\n<!-- players -->\n<Root a='1' b='1'>" + device + "</Root>\n<!-- end -->\n"));
  EXPECT_EQ(Names(), std::vector<std::string>{"A"});

  // A file spoilt between the check and the read.
  ASSERT_TRUE(Load("<Root>" + Device("1", "2", "A") + "</Root>"));
  std::ofstream(dir_.File("devices.xml")) << "<Root>";
  EXPECT_FALSE(config_.GetTesselDeviceNode());
  EXPECT_NE(log_.Lines().back().find("  **GetTesselDeviceNode** load file Fail: "), std::string::npos);
}

TEST_F(DeviceTable, EntriesWhoseNamesLeaveTheirFolderOrCannotBeShownAreSkipped) {
  // Model name, target folder, kept.
  const std::tuple<std::string, std::string, bool> entries[] = {
      {"NK-OK", "\\VIDEO\\KDX\\", true},
      {"Root", "", true},
      {"\xc3\xa9" + std::string(63, 'x'), "/VIDEO", true},  // 64 characters in 65 bytes
      {std::string(65, 'x'), "\\VIDEO", false},
      {"../../escaped", "\\VIDEO", false},
      {"/abs", "\\VIDEO", false},
      {"NK&#x1b;[31m", "\\VIDEO", false},
      {"NK\xc2\x9b", "\\VIDEO", false},
      {"Escape", "..\\..\\tmp\\x", false},
      {"Empty", "\\VIDEO\\\\KDX", false},
  };
  std::string xml = "<Root>";
  std::vector<std::string> kept;
  for (const auto& [name, folder, keep] : entries) {
    xml += "<Device><ModelName>" + name + "</ModelName><TargetFolder>" + folder + "</TargetFolder></Device>";
    if (keep) kept.push_back(name);
  }
  ASSERT_TRUE(Load(xml + "</Root>"));
  EXPECT_EQ(Names(), kept);
  const std::string log = log_.Text();
  EXPECT_NE(log.find("**GetTesselDeviceNode** Device 4 skipped: ModelName: longer than 64 characters"), std::string::npos);
  EXPECT_NE(log.find("Device 10 skipped: TargetFolder: it has an empty part"), std::string::npos) << log;
}

TEST(ShippedDeviceTable, EveryKdxModelHasAUsableScreenAndFrameRate) {
  ScratchLog log;
  CTesselConfigFile config;
  ASSERT_TRUE(config.Init()) << config.path();
  ASSERT_TRUE(config.GetTesselDeviceNode());
  ASSERT_GE(config.GetDeviceCount(), 4u);
  size_t otherFormats = 0;
  for (size_t i = 0; i < config.GetDeviceCount(); ++i) {
    const DEVICE_CONFIG_ENTRY& model = config.GetDevice(i);
    if (!IsKdxModel(model)) {
      ++otherFormats;
      continue;
    }
    SIZE size = ModelScreenSize(model);
    EXPECT_EQ(model.ScreenSize, std::to_string(size.cx) + "*" + std::to_string(size.cy)) << model.ModelName;
    EXPECT_EQ(model.FrameRate, std::to_string(ModelFrameRate(model))) << model.ModelName;
  }
  EXPECT_EQ(otherFormats, 1u);
  EXPECT_EQ(log.Text(), "");
}

}  // namespace
