// The programs as a user gets them: installed into a prefix with
// `cmake --install`, and packed into a Debian package with CPack.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <vector>

#include "test_paths.h"

namespace fs = std::filesystem;

namespace {

using kdxtest::MediaPath;
using kdxtest::ReadFile;
using kdxtest::RunCommand;

std::vector<std::string> ModelNames(const std::string& table) {
  std::string text = ReadFile(table);
  std::regex modelName("<ModelName>([^<]*)</ModelName>");
  std::vector<std::string> names;
  for (std::sregex_iterator it(text.begin(), text.end(), modelName), end; it != end; ++it) names.push_back((*it)[1]);
  return names;
}

// What the installation holds under its prefix, and the package under /usr.
std::vector<std::string> ShippedFiles(bool withProgram) {
  std::vector<std::string> files = {"bin/kdxconvert",
                                    "bin/kdxinfo",
                                    "lib/libkdx.so",
                                    "lib/libkdxplatform.so",
                                    "share/norvik-kdx/TesselDeviceConfig.xml",
                                    "share/norvik-kdx/PXR_Help.html",
                                    "share/applications/norvik-kdx-converter.desktop",
                                    "share/icons/hicolor/scalable/apps/norvik-kdx-converter.svg"};
  for (const std::string& model : ModelNames(KDX_DEVICE_TABLE)) files.push_back("share/norvik-kdx/" + model + ".bmp");
  if (withProgram) files.push_back("bin/norvik-kdx-converter");
  return files;
}

// Every test installs into a prefix of its own once.
class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scratch_ = std::make_unique<kdxtest::ScratchDir>();
    installStatus_ = RunCommand(std::string(KDX_CMAKE) + " --install '" KDX_BUILD_DIR "' --prefix '" + Prefix() + "'",
                                &installLog_);
  }
  static void TearDownTestSuite() { scratch_.reset(); }
  void SetUp() override { ASSERT_EQ(installStatus_, 0) << installLog_; }

  static std::string Prefix() { return scratch_->File("prefix"); }
  static std::string InPrefix(const std::string& name) { return Prefix() + "/" + name; }
  static std::string Scratch(const std::string& name) { return scratch_->File(name); }

  // Runs an installed program as a user would, with its own home, settings
  // and log, and nothing pointing into the build tree.
  static int RunInstalled(const std::string& commandLine, std::string* output = nullptr,
                          const std::string& launcher = "") {
    return RunCommand(launcher + " env -u LD_LIBRARY_PATH -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME='" +
                          Scratch("home") + "' NKDX_CONFIG_DIR='" + Scratch("config") + "' NKDX_LOG_FILE='" +
                          Scratch("log.txt") + "' " + Prefix() + "/bin/" + commandLine + " < /dev/null",
                      output);
  }

  static std::unique_ptr<kdxtest::ScratchDir> scratch_;
  static int installStatus_;
  static std::string installLog_;
};

std::unique_ptr<kdxtest::ScratchDir> Installed::scratch_;
int Installed::installStatus_ = -1;
std::string Installed::installLog_;

TEST_F(Installed, LayoutHoldsProgramsLibraryDataAndDesktopEntry) {
  for (const std::string& file : ShippedFiles(KDX_HAS_CONVERTER_PROGRAM))
    EXPECT_TRUE(fs::is_regular_file(InPrefix(file))) << file << "\n" << installLog_;

  std::string entry = ReadFile(InPrefix("share/applications/norvik-kdx-converter.desktop"));
  EXPECT_NE(entry.find("\nExec=norvik-kdx-converter %F\n"), std::string::npos);
  EXPECT_NE(entry.find("\nIcon=norvik-kdx-converter\n"), std::string::npos);
  for (const char* type : {"video/mp4;", "video/x-msvideo;", "video/mpeg;", "video/quicktime;", "video/x-ms-wmv;"})
    EXPECT_NE(entry.find(type), std::string::npos) << type;

  // Only what a user runs or reads is installed: no static libraries, headers
  // or build tools.
  for (const auto& item : fs::recursive_directory_iterator(Prefix())) {
    std::string name = item.path().filename().string();
    EXPECT_NE(item.path().extension(), ".a") << item.path();
    EXPECT_NE(name, "kdx_player_pictures");
    EXPECT_NE(name, "include");
  }
}

TEST_F(Installed, ConverterFindsItsLibraryAndDataThroughThePrefix) {
  std::string output;
  ASSERT_EQ(RunCommand("ldd '" + InPrefix("bin/kdxconvert") + "'", &output), 0) << output;
  EXPECT_NE(output.find(InPrefix("bin/../lib/libkdx.so")), std::string::npos) << output;

  ASSERT_EQ(RunInstalled("kdxconvert --model NK-128 --output '" + Scratch("out") + "' '" +
                             MediaPath("tiny_64x48.mp4") + "'",
                         &output),
            0)
      << output;
  std::string kdx = Scratch("out/NK-128/tiny_64x48.kdx");
  ASSERT_EQ(RunInstalled("kdxinfo '" + kdx + "'", &output), 0) << output;
  EXPECT_NE(output.find("Valid KDX file."), std::string::npos) << output;

  // The device table it read is the installed one: without it no model is known.
  ASSERT_EQ(RunInstalled("kdxconvert --list-models", &output), 0) << output;
  EXPECT_NE(output.find("NK-176T"), std::string::npos) << output;
  fs::remove(InPrefix("share/norvik-kdx/TesselDeviceConfig.xml"));
  EXPECT_NE(RunInstalled("kdxconvert --list-models", &output), 0) << output;
}

TEST_F(Installed, DesktopProgramStartsOffscreenWithAFile) {
  if (!KDX_HAS_CONVERTER_PROGRAM) GTEST_SKIP() << "norvik-kdx-converter is not part of this build";
  // A computer without player support: no administrator check, no player detection.
  std::ofstream(Scratch("profile.ini")) << "[OS]\nMajor=5\nMinor=2\n";
  std::string output;
  int status = RunInstalled("norvik-kdx-converter '" + MediaPath("tiny_64x48.mp4") + "'", &output,
                            "timeout -s TERM 10 env QT_QPA_PLATFORM=offscreen NKDX_COMPAT_PROFILE='" +
                                Scratch("profile.ini") + "'");
  EXPECT_EQ(status, 124) << "the program should still be running when the time is up\n" << output;
  std::string log = ReadFile(Scratch("log.txt"));
  EXPECT_EQ(log.find("TesselDeviceConfig File Error"), std::string::npos) << log;
}

TEST(Package, DebianPackageHoldsTheInstallationAndItsDependencies) {
  kdxtest::ScratchDir dir;
  std::string output;
  ASSERT_EQ(RunCommand(std::string(KDX_CPACK) + " -G DEB --config '" KDX_BUILD_DIR "/CPackConfig.cmake' -B '" +
                           dir.path() + "'",
                       &output),
            0)
      << output;
  std::string deb;
  for (const auto& item : fs::directory_iterator(dir.path()))
    if (item.path().extension() == ".deb") deb = item.path().string();
  ASSERT_NE(deb, "") << dir.Listing() << output;
  EXPECT_EQ(fs::path(deb).filename().string().rfind("norvik-kdx-converter_1.4.2.0_", 0), 0u) << deb;

  ASSERT_EQ(RunCommand("dpkg-deb -f '" + deb + "' Package Version Section Maintainer Description Depends", &output), 0)
      << output;
  EXPECT_NE(output.find("Package: norvik-kdx-converter\n"), std::string::npos) << output;
  EXPECT_NE(output.find("Version: 1.4.2.0\n"), std::string::npos) << output;
  EXPECT_NE(output.find("Section: video\n"), std::string::npos) << output;
  EXPECT_TRUE(std::regex_search(output, std::regex("Maintainer: .+ <.+@.+>"))) << output;
  EXPECT_NE(output.find("Description: video converter for Norvik portable media players"), std::string::npos);
  std::vector<std::string> needed = {"libavformat", "libavcodec", "libswscale", "libswresample", "libdevil",
                                     "libsndfile1", "libresample1", "libpugixml", "libstdc++6"};
  if (KDX_HAS_CONVERTER_PROGRAM) needed.insert(needed.end(), {"libqt6widgets6", "libqt6multimedia6", "libmtp", "libudev1"});
  std::smatch depends;
  ASSERT_TRUE(std::regex_search(output, depends, std::regex("Depends: ([^\n]*)"))) << output;
  for (const std::string& package : needed) EXPECT_NE(depends[1].str().find(package), std::string::npos) << package;

  ASSERT_EQ(RunCommand("dpkg-deb -c '" + deb + "'", &output), 0) << output;
  for (const std::string& file : ShippedFiles(KDX_HAS_CONVERTER_PROGRAM))
    EXPECT_NE(output.find(" ./usr/" + file + "\n"), std::string::npos) << file << "\n" << output;
  EXPECT_EQ(output.find(".a\n"), std::string::npos) << output;
}

}  // namespace
