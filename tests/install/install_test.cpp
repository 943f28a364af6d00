// The programs as a user gets them: installed into a prefix with
// `cmake --install`, and packed into a Debian package with CPack.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

#include "tests/install/table_models.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

using kdxtest::MediaPath;
using kdxtest::ReadFile;
using kdxtest::RunCommand;

// What an installation holds under its prefix, and the package under /usr.
std::vector<std::string> ShippedFiles() {
  std::vector<std::string> files = {"bin/kdxconvert", "bin/kdxinfo", "lib/libkdx.so", "lib/libkdxplatform.so",
                                    "share/norvik-kdx/TesselDeviceConfig.xml", "share/norvik-kdx/PXR_Help.html"};
  for (const std::string& model : kdxtest::ModelNames(KDX_DEVICE_TABLE))
    files.push_back("share/norvik-kdx/" + model + ".bmp");
  if (KDX_HAS_CONVERTER_PROGRAM) {
    files.push_back("bin/norvik-kdx-converter");
    files.push_back("share/applications/norvik-kdx-converter.desktop");
    files.push_back("share/icons/hicolor/scalable/apps/norvik-kdx-converter.svg");
  }
  return files;
}

// Each test installs into a prefix of its own.
class Installed : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string log;
    ASSERT_EQ(RunCommand(std::string(KDX_CMAKE) + " --install '" KDX_BUILD_DIR "' --prefix '" + Prefix() + "'", &log), 0)
        << log;
  }
  std::string Prefix() const { return dir_.File("prefix"); }
  std::string InPrefix(const std::string& name) const { return Prefix() + "/" + name; }

  // Runs an installed program as a user would: its own home, settings and
  // log, and nothing pointing into the build tree.
  std::string InstalledCommand(const std::string& commandLine) const {
    return "env -u LD_LIBRARY_PATH -u XDG_CONFIG_HOME -u XDG_STATE_HOME HOME='" + dir_.File("home") +
           "' NKDX_CONFIG_DIR='" + dir_.File("config") + "' NKDX_LOG_FILE='" + dir_.File("log.txt") + "' " +
           InPrefix("bin/") + commandLine + " < /dev/null";
  }
  int RunInstalled(const std::string& commandLine, std::string* output) const {
    return RunCommand(InstalledCommand(commandLine), output);
  }

  kdxtest::ScratchDir dir_;
};

TEST_F(Installed, LayoutHoldsProgramsLibrariesDataAndDesktopEntry) {
  for (const std::string& file : ShippedFiles()) EXPECT_TRUE(fs::is_regular_file(InPrefix(file))) << file;
  // No static libraries or build tools.
  for (const auto& item : fs::recursive_directory_iterator(Prefix())) {
    EXPECT_NE(item.path().extension(), ".a") << item.path();
    EXPECT_NE(item.path().filename(), "kdx_player_pictures");
  }
  if (!KDX_HAS_CONVERTER_PROGRAM) return;  // built without the desktop program
  std::string entry = ReadFile(InPrefix("share/applications/norvik-kdx-converter.desktop"));
  for (const char* line : {"\nExec=norvik-kdx-converter %F\n", "\nIcon=norvik-kdx-converter\n", "video/mp4;",
                           "video/x-msvideo;", "video/mpeg;", "video/quicktime;", "video/x-ms-wmv;", "application/vnd.ms-asf;"})
    EXPECT_NE(entry.find(line), std::string::npos) << line;
}

TEST_F(Installed, ConverterFindsItsLibraryAndDataThroughThePrefix) {
  std::string output;
  ASSERT_EQ(RunCommand("ldd '" + InPrefix("bin/kdxconvert") + "'", &output), 0) << output;
  EXPECT_NE(output.find(InPrefix("bin/../lib/libkdx.so")), std::string::npos) << output;

  ASSERT_EQ(RunInstalled("kdxconvert --model NK-128 --output '" + dir_.File("out") + "' '" +
                             MediaPath("tiny_64x48.mp4") + "'",
                         &output),
            0)
      << output;
  ASSERT_EQ(RunInstalled("kdxinfo '" + dir_.File("out/NK-128/tiny_64x48.kdx") + "'", &output), 0) << output;
  EXPECT_NE(output.find("Valid KDX file."), std::string::npos) << output;

  // The device table it reads is the installed one: without it no model is known.
  ASSERT_EQ(RunInstalled("kdxconvert --list-models", &output), 0) << output;
  EXPECT_NE(output.find("NK-176T"), std::string::npos) << output;
  fs::remove(InPrefix("share/norvik-kdx/TesselDeviceConfig.xml"));
  EXPECT_NE(RunInstalled("kdxconvert --list-models", &output), 0) << output;
}

TEST_F(Installed, DesktopProgramQueuesTheFilesItIsGiven) {
  if (!KDX_HAS_CONVERTER_PROGRAM) GTEST_SKIP() << "norvik-kdx-converter is not part of this build";
  // A computer without player support: no administrator check, no player detection.
  std::ofstream(dir_.File("profile.ini")) << "[OS]\nMajor=5\nMinor=2\n";
  // Every file given has its playing time read, whatever its extension, and
  // reading fails for a file that is no video: one error line in the log for
  // each. A real clip is queued beside them.
  for (const char* name : {"broken.avi", "broken two.mpg", "notes.txt"}) std::ofstream(dir_.File(name)) << "no video\n";
  const std::string probeErrors = "grep -cE 'Failed to (put filename|get output streams)' '" + dir_.File("log.txt") + "'";
  // Waits up to 12 s for the three lines, then ends the program, which should
  // still be running, as a logout would: it quits cleanly.
  std::string output;
  int status = RunCommand(
      "QT_QPA_PLATFORM=offscreen NKDX_COMPAT_PROFILE='" + dir_.File("profile.ini") + "' " +
          InstalledCommand("norvik-kdx-converter '" + MediaPath("tiny_64x48.mp4") + "' '" + dir_.File("broken.avi") + "' '" +
                    dir_.File("broken two.mpg") + "' '" + dir_.File("notes.txt") + "'") +
          " & pid=$!; i=0; while [ $i -lt 120 ] && [ \"$(" + probeErrors +
          " 2>/dev/null)\" != 3 ]; do sleep 0.1; i=$((i+1)); done; kill -0 $pid && echo still running; kill $pid;"
          " wait $pid",
      &output);
  EXPECT_NE(output.find("still running"), std::string::npos) << "the program should still be running\n" << output;
  EXPECT_EQ(status, 0) << "SIGTERM ends the program as Quit does\n" << output;
  std::string log = ReadFile(dir_.File("log.txt"));
  EXPECT_EQ(RunCommand(probeErrors, &output), 0);
  EXPECT_EQ(output, "3\n") << log;
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
  ASSERT_EQ(fs::path(deb).filename().string().rfind("norvik-kdx-converter_1.4.2.0_", 0), 0u) << dir.Listing();

  ASSERT_EQ(RunCommand("dpkg-deb -f '" + deb + "' Package Version Section Maintainer Depends Recommends", &output), 0) << output;
  for (const char* field : {"Package: norvik-kdx-converter\n", "Version: 1.4.2.0\n", "Section: video\n"})
    EXPECT_NE(output.find(field), std::string::npos) << output;
  EXPECT_TRUE(std::regex_search(output, std::regex("Maintainer: .+ <.+@.+>"))) << output;
  std::vector<std::string> needed = {"libavformat", "libavcodec", "libswscale", "libswresample",
                                     "libdevil",    "libsndfile1", "libresample1", "libpugixml"};
  // libqt6svg6 draws the program's icon; no program links it.
  if (KDX_HAS_CONVERTER_PROGRAM) {
    needed.insert(needed.end(), {"libqt6widgets6", "libqt6multimedia6", "libmtp", "libudev1", "libqt6svg6"});
    EXPECT_NE(output.find("Recommends: xdg-utils"), std::string::npos) << output;
  }
  ASSERT_NE(output.find("Depends: "), std::string::npos) << output;
  std::string depends = output.substr(output.find("Depends: "));
  for (const std::string& package : needed) EXPECT_NE(depends.find(package), std::string::npos) << package;

  ASSERT_EQ(RunCommand("dpkg-deb -c '" + deb + "'", &output), 0) << output;
  for (const std::string& file : ShippedFiles())
    EXPECT_NE(output.find(" ./usr/" + file + "\n"), std::string::npos) << file << "\n" << output;
}

}  // namespace
