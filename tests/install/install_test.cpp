// SPDX-License-Identifier: GPL-2.0-or-later
// The programs as a user gets them: installed into a prefix with
// `cmake --install`, and packed into a Debian package with CPack.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <map>
#include <regex>
#include <sstream>

#include "tests/install/table_models.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

using kdxtest::MediaPath;
using kdxtest::ReadFile;
using kdxtest::RunCommand;

// What an installation holds under its prefix, and each package under /usr.
struct Shipped {
  std::string file;
  const char* package;
};

std::vector<Shipped> ShippedFiles() {
  const char* tools = "norvik-kdx-tools";
  const char* desktop = "norvik-kdx-converter";
  std::vector<Shipped> files = {{"bin/kdxconvert", tools},
                                {"bin/kdxinfo", tools},
                                {KDX_INSTALL_LIBDIR "/libkdx.so", tools},
                                {KDX_INSTALL_LIBDIR "/libkdxplatform.so", tools},
                                {"share/norvik-kdx/TesselDeviceConfig.xml", tools},
                                {"share/man/man1/kdxconvert.1.gz", tools},
                                {"share/man/man1/kdxinfo.1.gz", tools},
                                {"share/bash-completion/completions/kdxconvert", tools},
                                {"share/bash-completion/completions/kdxinfo", tools},
                                {"share/doc/norvik-kdx-tools/copyright", tools},
                                {"share/doc/norvik-kdx-tools/changelog.gz", tools},
                                {"share/norvik-kdx/PXR_Help.html", desktop}};
  for (const std::string& model : kdxtest::ModelNames(KDX_DEVICE_TABLE))
    files.push_back({"share/norvik-kdx/" + model + ".bmp", desktop});
  if (KDX_HAS_CONVERTER_PROGRAM) {
    for (const char* file : {"bin/norvik-kdx-converter", "share/applications/norvik-kdx-converter.desktop",
                             "share/icons/hicolor/scalable/apps/norvik-kdx-converter.svg",
                             "share/metainfo/example.norvik.kdx_converter.metainfo.xml",
                             "share/man/man1/norvik-kdx-converter.1.gz", "share/doc/norvik-kdx-converter/copyright",
                             "share/doc/norvik-kdx-converter/changelog.gz"})
      files.push_back({file, desktop});
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
  for (const Shipped& shipped : ShippedFiles()) EXPECT_TRUE(fs::is_regular_file(InPrefix(shipped.file))) << shipped.file;
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
  EXPECT_NE(output.find(InPrefix("bin/../" KDX_INSTALL_LIBDIR "/libkdx.so")), std::string::npos) << output;
  EXPECT_NE(output.find(InPrefix("bin/../" KDX_INSTALL_LIBDIR "/libkdxplatform.so")), std::string::npos) << output;

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

// What a shell user finds installed: versions, help without a display,
// manual pages that read without warnings, and completion of options and
// values. "$ " runs a program of the prefix, "man " reads its manual page,
// "complete " completes the words that follow in bash.
TEST_F(Installed, ProgramsAnswerTheShellWithManualsAndCompletion) {
  std::vector<std::pair<std::string, std::string>> rows = {
      {"$ kdxconvert --version", "kdxconvert (Norvik KDX Video Converter) 1.4.2.0\n"},
      {"$ kdxinfo --version", "kdxinfo (Norvik KDX Video Converter) 1.4.2.0\n"},
      {"man kdxconvert", "kdxconvert - convert video files into KDX files for Norvik players"},
      {"man kdxconvert", "--files-from=FILE"},
      {"man kdxinfo", "kdxinfo - describe and check a KDX file"},
      {"complete kdxconvert --mo", "--model --mode"},
      {"complete kdxconvert -m NK-1", "NK-128 NK-176T NK-160"},
      {"complete kdxconvert --quality m", "medium"},
      {"complete kdxconvert --mode=full-s", "full-screen"},
      {"complete kdxinfo --j", "--json"},
  };
  if (KDX_HAS_CONVERTER_PROGRAM) {
    rows.insert(rows.end(), {{"$ norvik-kdx-converter --version", "norvik-kdx-converter (Norvik KDX Video Converter) 1.4.2.0"},
                             {"$ norvik-kdx-converter --help", "Usage: norvik-kdx-converter [OPTION]... [VIDEO FILE]..."},
                             {"man norvik-kdx-converter", "norvik-kdx-converter - convert videos for Norvik"}});
  }
  for (const auto& [request, expected] : rows) {
    SCOPED_TRACE(request);
    const std::string verb = request.substr(0, request.find(' '));
    const std::string rest = request.substr(verb.size() + 1);
    std::string command;
    if (verb == "$") {
      command = "env -u DISPLAY -u WAYLAND_DISPLAY " + InstalledCommand(rest);
    } else if (verb == "man") {
      // Warnings of man go to the output too: none is expected.
      command = "LC_ALL=C MANWIDTH=100 man --warnings -l '" + InPrefix("share/man/man1/" + rest + ".1.gz") + "'";
    } else {
      const std::string program = rest.substr(0, rest.find(' '));
      command = "env PATH='" + InPrefix("bin") + ":/usr/bin:/bin' bash -c 'source /usr/share/bash-completion/bash_completion; "
                "source " + InPrefix("share/bash-completion/completions/" + program) +
                "; COMP_LINE=\"$*\"; COMP_POINT=${#COMP_LINE}; COMP_WORDS=(\"$@\"); COMP_CWORD=$(($# - 1)); "
                "_" + program + " \"$1\" \"${@: -1}\" \"${@: -2:1}\"; echo \"${COMPREPLY[*]}\"' completion " + rest;
    }
    std::string output;
    EXPECT_EQ(RunCommand(command, &output), 0) << output;
    EXPECT_NE(output.find(expected), std::string::npos) << output;
    if (verb == "man") {
      EXPECT_EQ(output.find("warning"), std::string::npos) << output;
    }
  }
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

// The packages a user installs: the tools with the library and no Qt, the
// desktop program depending on them; each checked as Debian checks packages.
TEST(Package, DebianPackagesHoldTheInstallationAndPassDebiansChecks) {
  kdxtest::ScratchDir dir;
  std::string output;
  ASSERT_EQ(RunCommand(std::string(KDX_CPACK) + " -G DEB --config '" KDX_BUILD_DIR "/CPackConfig.cmake' -B '" +
                           dir.path() + "'",
                       &output),
            0)
      << output;
  std::map<std::string, std::string> debs;  // package name: file
  for (const auto& item : fs::directory_iterator(dir.path())) {
    const std::string name = item.path().filename().string();
    if (item.path().extension() == ".deb") debs[name.substr(0, name.find('_'))] = item.path().string();
  }
  std::vector<std::string> expected = {"norvik-kdx-tools"};
  if (KDX_HAS_CONVERTER_PROGRAM) expected.push_back("norvik-kdx-converter");
  ASSERT_EQ(debs.size(), expected.size()) << dir.Listing();

  const std::regex drawing("libqt|gstreamer|libgl1|libegl|libopengl|libglx|libx11");
  for (const std::string& package : expected) {
    SCOPED_TRACE(package);
    const std::string& deb = debs[package];
    EXPECT_EQ(fs::path(deb).filename().string(), package + "_1.4.2.0_amd64.deb");
    ASSERT_EQ(RunCommand("dpkg-deb -f '" + deb + "' Package Version Section Maintainer Depends Recommends", &output), 0)
        << output;
    for (const std::string& field : {"Package: " + package + "\n", std::string("Version: 1.4.2.0\n"),
                                     std::string("Section: video\n")})
      EXPECT_NE(output.find(field), std::string::npos) << output;
    EXPECT_TRUE(std::regex_search(output, std::regex("Maintainer: .+ <.+@.+>"))) << output;
    ASSERT_NE(output.find("Depends: "), std::string::npos) << output;
    const std::string depends = output.substr(output.find("Depends: "));
    std::vector<std::string> needed = {"libavformat", "libavcodec", "libdevil", "libsndfile1", "libresample1",
                                       "libpugixml"};
    if (package == "norvik-kdx-converter") {
      // libqt6svg6 draws the program's icon; no program links it.
      needed = {"norvik-kdx-tools (= 1.4.2.0)", "libqt6widgets6", "libqt6multimedia6", "libmtp", "libudev1",
                "libqt6svg6"};
      EXPECT_NE(output.find("Recommends: xdg-utils"), std::string::npos) << output;
    } else {
      // A server or a script needs no graphical toolkit.
      EXPECT_FALSE(std::regex_search(depends, drawing)) << depends;
    }
    for (const std::string& dependency : needed) EXPECT_NE(depends.find(dependency), std::string::npos) << dependency;

    ASSERT_EQ(RunCommand("dpkg-deb -c '" + deb + "'", &output), 0) << output;
    for (const Shipped& shipped : ShippedFiles()) {
      const bool inside = output.find(" ./usr/" + shipped.file + "\n") != std::string::npos;
      EXPECT_EQ(inside, package == shipped.package) << shipped.file << "\n" << output;
    }
    // No library in the system's own folders, so nothing for ldconfig.
    EXPECT_FALSE(std::regex_search(output, std::regex(R"( \./usr/lib/([^/]+/)?[^/]+\.so)"))) << output;
    ASSERT_EQ(RunCommand("dpkg-deb -I '" + deb + "'", &output), 0) << output;
    EXPECT_EQ(output.find("postinst"), std::string::npos) << output;
  }

  // Debian's own checks: no lintian error on either package, the desktop
  // entry and the software centres' metadata valid.
  std::string all;
  for (const auto& [package, deb] : debs) all += " '" + deb + "'";
  EXPECT_EQ(RunCommand("lintian --fail-on error" + all, &output), 0) << output;
  EXPECT_EQ(output.find("\nE: "), std::string::npos) << output;
  if (!KDX_HAS_CONVERTER_PROGRAM) return;
  const std::string unpacked = dir.File("unpacked");
  ASSERT_EQ(RunCommand("dpkg-deb -x '" + debs["norvik-kdx-converter"] + "' '" + unpacked + "'", &output), 0) << output;
  EXPECT_EQ(RunCommand("desktop-file-validate '" + unpacked + "/usr/share/applications/norvik-kdx-converter.desktop'",
                       &output),
            0)
      << output;
  EXPECT_EQ(output, "");
  EXPECT_EQ(RunCommand("appstreamcli validate --no-net '" + unpacked +
                           "/usr/share/metainfo/example.norvik.kdx_converter.metainfo.xml'",
                       &output),
            0)
      << output;
}

// Every source file in the repository names its licence, files that other
// work adds included.
TEST(Package, EverySourceNamesItsLicence) {
  std::string files;
  if (RunCommand("git -C '" KDX_SOURCE_DIR "' ls-files", &files) != 0) GTEST_SKIP() << "not a git checkout: " << files;
  const std::regex source(R"((^|/)(CMakeLists\.txt|[^/]+\.(h|cpp|c|py|sh|cmake))$)");
  std::istringstream names(files);
  int checked = 0;
  for (std::string name; std::getline(names, name);) {
    if (!std::regex_search(name, source)) continue;
    std::ifstream in(std::string(KDX_SOURCE_DIR "/") + name);
    std::string head, line;
    for (int i = 0; i < 3 && std::getline(in, line); ++i) head += line + "\n";
    EXPECT_NE(head.find("SPDX-License-Identifier: GPL-2.0-or-later"), std::string::npos) << name;
    ++checked;
  }
  EXPECT_GT(checked, 100);
}

}  // namespace
