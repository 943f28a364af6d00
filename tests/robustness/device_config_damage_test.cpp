// SPDX-License-Identifier: GPL-2.0-or-later
// The device configuration reader on files that are damaged, oddly
// encoded, absurdly deep or large, or no files at all: each is refused
// with a log line naming it, or read correctly, and nothing crashes or hangs.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "converter/core/devices/TesselConfigFile.h"
#include "tests/converter/core/test_env.h"

namespace {

namespace fs = std::filesystem;

std::string ShippedConfig() {
  std::ifstream in(kdxtest::BinPath("TesselDeviceConfig.xml"), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string OneDevice(const std::string& name) {
  return "<Device><idVendor>1f3a</idVendor><idProduct>0001</idProduct><ModelName>" + name +
         "</ModelName><TargetFolder>\\VIDEO</TargetFolder></Device>";
}

class DamagedConfig : public testing::Test {
 protected:
  std::string Write(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
    return path_;
  }
  // Both reads, as start-up makes them.
  bool Load(const std::string& path) { return config_.Init(path) && config_.GetTesselDeviceNode(); }
  // Expects the file to be refused with Init's log line.
  void ExpectRefused(const std::string& path, const std::string& label) {
    const size_t linesBefore = log_.Lines().size();
    EXPECT_FALSE(Load(path)) << label;
    const auto lines = log_.Lines();
    ASSERT_EQ(lines.size(), linesBefore + 1) << label;
    EXPECT_NE(lines.back().find("**CTesselConfigFile_Init** load file [" + path + "] failed: "), std::string::npos)
        << label << ": " << lines.back();
  }

  ScratchLog log_;
  kdxtest::ScratchDir dir_;
  const std::string path_ = dir_.File("devices.xml");
  CTesselConfigFile config_;
};

TEST_F(DamagedConfig, EveryCutBeforeTheEndOfTheRootIsRefused) {
  const std::string shipped = ShippedConfig();
  ASSERT_TRUE(Load(Write(shipped)));
  const size_t rootEnd = shipped.rfind('>');
  ASSERT_NE(rootEnd, std::string::npos);
  // Every length up to the root's closing bracket, the empty file included.
  for (size_t cut = 0; cut <= rootEnd; ++cut) {
    EXPECT_FALSE(config_.Init(Write(shipped.substr(0, cut)))) << "cut after " << cut << " bytes";
  }
  EXPECT_EQ(log_.Lines().size(), rootEnd + 1);
}

TEST_F(DamagedConfig, BytesThatAreNotUtf8AreRefused) {
  // A lone continuation byte, a cut sequence, an overlong slash, a surrogate.
  for (const std::string bad : {"\x80", "\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
    ExpectRefused(Write("<Root>" + OneDevice("NK" + bad) + "</Root>"), "model name with bad bytes");
  }
  ExpectRefused(Write("<Root a='\xFF'>" + OneDevice("NK") + "</Root>"), "attribute with bad bytes");
  // The declaration names an encoding the bytes are not in.
  ExpectRefused(Write("<?xml version=\"1.0\" encoding=\"UTF-16\"?><Root>" + OneDevice("Gr\xFC\xDF") + "</Root>"),
                "UTF-16 declared, 8-bit text");
}

TEST_F(DamagedConfig, EncodingsTheParserConvertsAreReadAsUtf8) {
  ASSERT_TRUE(Load(Write("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><Root>" + OneDevice("Gr\xFC\xDF") +
                         "</Root>")));
  ASSERT_EQ(config_.GetDeviceCount(), 1u);
  EXPECT_EQ(config_.GetDevice(0).ModelName, "Gr\xC3\xBC\xC3\x9F");

  // UTF-16 little-endian with its byte order mark.
  const std::string text = "<Root>" + OneDevice("NK-16") + "</Root>";
  std::string utf16 = "\xFF\xFE";
  for (char c : text) utf16 += std::string{c, '\0'};
  ASSERT_TRUE(Load(Write(utf16)));
  ASSERT_EQ(config_.GetDeviceCount(), 1u);
  EXPECT_EQ(config_.GetDevice(0).ModelName, "NK-16");
}

TEST_F(DamagedConfig, DeepNestingIsReadWithoutExhaustingTheStack) {
  constexpr int kDepth = 100000;
  std::string open, close;
  for (int i = 0; i < kDepth; ++i) open += "<g>", close += "</g>";
  ASSERT_TRUE(Load(Write(open + OneDevice("Deep") + close)));
  ASSERT_EQ(config_.GetDeviceCount(), 1u);
  EXPECT_EQ(config_.GetDevice(0).ModelName, "Deep");
  ExpectRefused(Write(open + OneDevice("Unclosed")), "deep and unclosed");
}

TEST_F(DamagedConfig, HugeFileIsRefusedUnread) {
  ExpectRefused(Write("<Root>" + OneDevice(std::string(50 << 20, 'x')) + "</Root>"), "50 MB model name");
}

TEST_F(DamagedConfig, ThingsThatAreNoFileAreRefusedWithoutBlocking) {
  ExpectRefused(Write(""), "empty file");
  ExpectRefused(dir_.path(), "a folder");
  const std::string pipe = dir_.File("pipe.xml");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ExpectRefused(pipe, "a pipe with no writer");
  ExpectRefused(Write("<Root/>") + "/below.xml", "a path below a file");
}

TEST_F(DamagedConfig, FileReplacedByAFolderAfterTheCheckFailsTheRead) {
  ASSERT_TRUE(config_.Init(Write("<Root>" + OneDevice("NK") + "</Root>")));
  fs::remove(path_);
  fs::create_directory(path_);
  EXPECT_FALSE(config_.GetTesselDeviceNode());
  EXPECT_NE(log_.Lines().back().find("**GetTesselDeviceNode** load file Fail: "), std::string::npos);
  EXPECT_EQ(config_.GetDeviceCount(), 0u);
}

}  // namespace
