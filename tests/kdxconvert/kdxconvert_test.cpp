// SPDX-License-Identifier: GPL-2.0-or-later
// kdxconvert run end to end on generated clips, its results checked with kdxinfo.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/support/job_cases.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

using kdxtest::BinPath;
using kdxtest::MediaPath;

// Each test gets its own home, settings folder and log, and no terminal.
class KdxConvert : public ::testing::Test {
 protected:
  std::string Home() const { return dir_.File("home"); }
  std::string Out() const { return dir_.File("out"); }
  std::string Log() const { return dir_.File("log.txt"); }

  // `launcher` runs the program (for example with a time limit).
  int Run(const std::string& arguments, std::string* output = nullptr, const std::string& launcher = "") {
    std::string command = "env -u XDG_VIDEOS_DIR -u XDG_CONFIG_HOME HOME='" + Home() + "' NKDX_CONFIG_DIR='" +
                          dir_.File("config") + "' NKDX_LOG_FILE='" + Log() + "' " + launcher + " " +
                          BinPath("kdxconvert") + " " + arguments + " < /dev/null";
    std::string text;
    int status = kdxtest::RunCommand(command, &text);
    if (output != nullptr) *output = text;
    return status;
  }

  void WriteSettings(const std::string& text) {
    fs::create_directories(dir_.File("config"));
    std::ofstream(dir_.File("config/NKDXVC.ini")) << text;
  }

  static std::string Info(const std::string& kdx) {
    std::string text;
    int status = kdxtest::RunCommand(BinPath("kdxinfo") + " '" + kdx + "'", &text);
    return status == 0 ? text : "";
  }

  static double PlayingSeconds(const std::string& info) {
    std::smatch match;
    if (!std::regex_search(info, match, std::regex(R"(Playing time: ([0-9.]+) s)"))) return -1;
    return std::stod(match[1]);
  }

  static std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // Names under a folder, relative to it, sorted.
  static std::string Tree(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      names.push_back(fs::relative(entry.path(), folder).string());
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& name : names) text += name + "\n";
    return text;
  }

  kdxtest::ScratchDir dir_;
};

TEST_F(KdxConvert, BatchGoesOnPastAnUnreadableFile) {
  std::string output;
  int status = Run("--model NK-128 --output '" + Out() + "' " + MediaPath("clip_mpeg4_mp3.avi") + " " +
                       MediaPath("text_file.avi") + " " + MediaPath("tiny_64x48.mp4"),
                   &output);
  EXPECT_EQ(status, 1) << output;
  EXPECT_NE(output.find("text_file.avi: Failed. "), std::string::npos) << output;
  EXPECT_NE(output.find("2 converted, 1 failed, 0 skipped"), std::string::npos) << output;
  EXPECT_EQ(Tree(Out()), "NK-128\nNK-128/clip_mpeg4_mp3.kdx\nNK-128/tiny_64x48.kdx\n");
  EXPECT_NE(Info(Out() + "/NK-128/clip_mpeg4_mp3.kdx"), "");
  EXPECT_NE(Info(Out() + "/NK-128/tiny_64x48.kdx"), "");
  std::string log = ReadAll(Log());
  EXPECT_NE(log.find("  KDX Converting " + MediaPath("clip_mpeg4_mp3.avi") + " took time: "), std::string::npos);
  EXPECT_NE(log.find("  KDX Converting " + MediaPath("tiny_64x48.mp4") + " took time: "), std::string::npos);
  EXPECT_EQ(log.find("text_file.avi took time"), std::string::npos);
}

TEST_F(KdxConvert, StartAndEndSelectTheRange) {
  std::string output;
  ASSERT_EQ(Run("--model NK-160 --output '" + Out() + "' " + MediaPath("clip_h264_aac.mov"), &output), 0) << output;
  double whole = PlayingSeconds(Info(Out() + "/NK-160/clip_h264_aac.kdx"));
  ASSERT_EQ(Run("--model NK-160 --overwrite --start 00:00:01 --end 00:00:02 --output '" + Out() + "' " +
                    MediaPath("clip_h264_aac.mov"),
                &output),
            0)
      << output;
  double part = PlayingSeconds(Info(Out() + "/NK-160/clip_h264_aac.kdx"));
  EXPECT_GT(whole, 2.5);
  EXPECT_GT(part, 0.5);
  EXPECT_LT(part, 1.5);
}

TEST_F(KdxConvert, WholeFilesConvertToTheirVeryEndEvenBelowOneSecond) {
  std::string output;
  ASSERT_EQ(Run("--model NK-128 --output '" + Out() + "' " + MediaPath("fraction_10.4s.mp4") + " " +
                    MediaPath("short_0.6s.mp4"),
                &output),
            0)
      << output;
  // 15 frames a second in chunks of 5: 10.4 s (156 frames) ends in a partial
  // chunk, written whole: 160 frames, not the 150 of 10 s.
  std::string longer = Info(Out() + "/NK-128/fraction_10.4s.kdx");
  EXPECT_NEAR(PlayingSeconds(longer), 160.0 / 15, 0.01) << longer;
  std::smatch sound;
  ASSERT_TRUE(std::regex_search(longer, sound, std::regex(R"(Hz, ([0-9.]+) s)"))) << longer;
  EXPECT_GT(std::stod(sound[1]), 10.3);
  EXPECT_NEAR(PlayingSeconds(Info(Out() + "/NK-128/short_0.6s.kdx")), 10.0 / 15, 0.01);
}

TEST_F(KdxConvert, RangesWithoutPicturesFailAndKeepAnOlderFile) {
  fs::create_directories(Out() + "/NK-128");
  const std::string existing = Out() + "/NK-128/clip_mpeg4_mp3.kdx";
  std::ofstream(existing) << "older file";
  const std::string clip = " " + MediaPath("clip_mpeg4_mp3.avi");  // 3 s
  std::string output;
  EXPECT_EQ(Run("--model NK-128 --overwrite --start 01:00:00 --output '" + Out() + "'" + clip, &output), 1);
  EXPECT_NE(output.find("clip_mpeg4_mp3.avi: Failed. Nothing to convert between 01:00:00 and 00:00:03 (the file "
                        "lasts 3.0 s)."),
            std::string::npos)
      << output;
  EXPECT_EQ(ReadAll(existing), "older file");
  EXPECT_EQ(Run("--model NK-128 --overwrite --start 00:00:20 --end 00:00:30 --output '" + Out() + "'" + clip, &output),
            1);
  EXPECT_NE(output.find("Failed. Nothing to convert"), std::string::npos) << output;
  EXPECT_EQ(ReadAll(existing), "older file");

  // The file opens, but none of its pictures decode.
  EXPECT_EQ(Run("--model NK-128 --output '" + Out() + "' " + MediaPath("no_media_data.mp4"), &output), 1);
  EXPECT_NE(output.find("no_media_data.mp4: Failed. No picture could be decoded"),
            std::string::npos)
      << output;
  EXPECT_NE(output.find("0 converted, 1 failed"), std::string::npos) << output;
  EXPECT_EQ(Tree(Out()), "NK-128\nNK-128/clip_mpeg4_mp3.kdx\n");
}

TEST_F(KdxConvert, ExistingOutputIsKeptWithoutOverwrite) {
  fs::create_directories(Out() + "/NK-96");
  std::string existing = Out() + "/NK-96/tiny_64x48.kdx";
  std::ofstream(existing) << "older file";
  std::string output;
  EXPECT_EQ(Run("--model NK-96 --output '" + Out() + "' " + MediaPath("tiny_64x48.mp4"), &output), 1);
  EXPECT_NE(output.find("skipped"), std::string::npos) << output;
  EXPECT_EQ(ReadAll(existing), "older file");

  EXPECT_EQ(Run("--model NK-96 --overwrite --output '" + Out() + "' " + MediaPath("tiny_64x48.mp4"), &output), 0)
      << output;
  EXPECT_NE(Info(existing), "");
}

TEST_F(KdxConvert, TwoInputsOfTheSameNameDoNotReplaceEachOther) {
  std::string output;
  EXPECT_EQ(Run("--model NK-96 --overwrite --output '" + Out() + "' " + MediaPath("clip_h264_aac.mp4") + " " +
                    MediaPath("clip_h264_aac.mov"),
                &output),
            0)
      << output;
  EXPECT_EQ(Tree(Out()), "NK-96\nNK-96/clip_h264_aac (2).kdx\nNK-96/clip_h264_aac.kdx\n");
}

// What a shell user sees, piped into a log (no terminal): the status, texts
// that must be there and texts that must not. OUT is the output folder,
// MEDIA the clips' folder.
TEST_F(KdxConvert, CommandLineAnswersAsAShellUserExpects) {
  const std::string tiny = MediaPath("tiny_64x48.mp4");
  const struct {
    std::string arguments;
    int status;
    std::vector<std::string> shown;
    std::vector<std::string> notShown;
  } rows[] = {
      {"", 2, {"no input file given", "Try 'kdxconvert --help'"}, {}},
      {"--speed 3 a.mp4", 2, {"unknown option '--speed'"}, {}},
      {"--quality best a.mp4", 2, {"high, medium or low"}, {}},
      {"--start 1:2 a.mp4", 2, {"seconds, MM:SS or HH:MM:SS"}, {}},
      {"--model NoSuchPlayer " + tiny, 2, {"(see --list-models)"}, {}},
      {"--files-from OUT/none.txt " + tiny, 2, {"cannot read the file list 'OUT/none.txt': No such file"}, {}},
      {"--help", 0, {"--model", "--list-models", "--quality", "--mode", "--start", "--end", "--output", "--overwrite",
                     "--no-overwrite", "--files-from", "--jobs", "--json", "--quiet", "--verbose", "--version",
                     "Examples"}, {}},
      {"--version", 0, {"kdxconvert (Norvik KDX Video Converter) 1.4.2.0\n", "GPL-2.0-or-later"}, {}},
      // Progress as lines at every tenth, the result, the summary.
      {"-m NK-128 -o OUT " + tiny, 0,
       {tiny + ": 0%\n", tiny + ": 50%, 00:0", tiny + ": converted to OUT/NK-128/tiny_64x48.kdx",
        "1 converted, 0 failed, 0 skipped\n"},
       {"\r", "\x1b"}},
      {"-q -y -m NK-128 -o OUT " + tiny, 0, {}, {"%", "converted"}},
      {"-q -m NK-128 -o OUT " + tiny, 1, {"skipped, OUT/NK-128/tiny_64x48.kdx already exists"}, {"%", "converted"}},
      // FFmpeg's own words about a file only when asked for.
      {"-m NK-128 -o OUT MEDIA/text_file.avi", 1, {"text_file.avi: Failed. "}, {"[avi @"}},
      {"-v -m NK-128 -o OUT MEDIA/text_file.avi", 1, {"text_file.avi: Failed. ", "[avi @"}, {}},
  };
  for (const auto& row : rows) {
    const auto placed = [this](std::string text) {
      for (const auto& [name, path] : {std::pair<std::string, std::string>{"OUT", Out()}, {"MEDIA", MediaPath("")}}) {
        for (size_t at; (at = text.find(name)) != std::string::npos;) text.replace(at, name.size(), path);
      }
      return text;
    };
    SCOPED_TRACE(row.arguments);
    std::string output;
    EXPECT_EQ(Run(placed(row.arguments), &output), row.status) << output;
    for (const std::string& text : row.shown) EXPECT_NE(output.find(placed(text)), std::string::npos) << text;
    for (const std::string& text : row.notShown) EXPECT_EQ(output.find(placed(text)), std::string::npos) << text;
  }
  EXPECT_FALSE(fs::exists(Home() + "/Videos"));
}

// One batch as a script reads it: a converted file, a refused one and a
// skipped one, two of them named in a list file.
TEST_F(KdxConvert, JsonTellsEachFileAndTheBatch) {
  fs::create_directories(Out() + "/NK-128");
  std::ofstream(Out() + "/NK-128/short_0.6s.kdx") << "older file";
  std::ofstream(dir_.File("list.txt")) << MediaPath("tiny_64x48.mp4") << "\n\n" << MediaPath("short_0.6s.mp4") << "\n";
  std::string output;
  EXPECT_EQ(Run("--json -n --start 5 --end 0:09 -m NK-128 -o '" + Out() + "' --files-from '" + dir_.File("list.txt") +
                    "' " + MediaPath("fraction_10.4s.mp4"),
                &output),
            1);
  std::string objects;
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("{")) objects += std::regex_replace(line, std::regex(R"("seconds":[0-9.]+)"), R"("seconds":S)") + "\n";
  }
  const std::string folder = Out() + "/NK-128/";
  EXPECT_EQ(objects,
            R"({"source":")" + MediaPath("fraction_10.4s.mp4") + R"(","destination":")" + folder +
                R"(fraction_10.4s.kdx","outcome":"converted","reason":null,"seconds":S})" "\n"
                R"({"source":")" + MediaPath("tiny_64x48.mp4") + R"(","destination":")" + folder +
                R"(tiny_64x48.kdx","outcome":"failed","reason":"Nothing to convert between 00:00:05 and 00:00:09 (the file lasts 3.0 s).","seconds":S})" "\n"
                R"({"source":")" + MediaPath("short_0.6s.mp4") + R"(","destination":")" + folder +
                R"(short_0.6s.kdx","outcome":"skipped","reason":"already exists (--overwrite replaces it).","seconds":S})" "\n"
                R"({"summary":{"converted":1,"failed":1,"skipped":1,"stopped":false,"seconds":S}})" "\n")
      << output;
  // The people's lines say what went wrong on standard error; none says a file was converted.
  EXPECT_NE(output.find("tiny_64x48.mp4: Failed. Nothing to convert"), std::string::npos) << output;
  EXPECT_EQ(output.find("converted to"), std::string::npos) << output;
  EXPECT_EQ(ReadAll(Out() + "/NK-128/short_0.6s.kdx"), "older file");
}

TEST_F(KdxConvert, ModelsOfAnotherVideoFormatAreRefused) {
  std::string output;
  EXPECT_EQ(Run("--model NK-M320 --output '" + Out() + "' " + MediaPath("tiny_64x48.mp4"), &output), 1);
  EXPECT_NE(output.find("KDX"), std::string::npos) << output;
  EXPECT_FALSE(fs::exists(Out()));
}

TEST_F(KdxConvert, ListsTheModels) {
  std::string output;
  ASSERT_EQ(Run("--list-models", &output), 0);
  EXPECT_TRUE(std::regex_search(output, std::regex(R"(NK-176T +176\*220 +20 +Full Screen +KDX)"))) << output;
  EXPECT_TRUE(std::regex_search(output, std::regex(R"(NK-96 +96\*64 +12 +Full Image +KDX)"))) << output;
  EXPECT_TRUE(std::regex_search(output, std::regex(R"(NK-M320 .*AVI)"))) << output;
}

TEST_F(KdxConvert, ModelsFromTheTableKeepToTheNameRuleAndListTheValuesUsed) {
  // A copy of the program beside a table of its own.
  const std::string program = dir_.File("bin/kdxconvert");
  fs::create_directories(dir_.File("bin"));
  fs::copy_file(BinPath("kdxconvert"), program);
  const char* rows[][3] = {{"NK-OK", "\\VIDEO", "<ScreenSize>1280*720</ScreenSize><FrameRate>-5</FrameRate>"},
                           {"../../escaped", "\\VIDEO", ""},
                           {"/tmp/absolute", "\\VIDEO", ""},
                           {"NK&#x1b;[31mRED", "\\VIDEO", ""},
                           {"NK-FOLDER", "..\\..\\..\\tmp\\x", ""}};
  std::string xml = "<Root>";
  for (const auto& row : rows) {
    xml += std::string("<Device><idVendor>1</idVendor><idProduct>2</idProduct><ModelName>") + row[0] +
           "</ModelName><TargetFolder>" + row[1] + "</TargetFolder><Video><Format>KDX</Format>" + row[2] +
           "</Video></Device>";
  }
  std::ofstream(dir_.File("bin/TesselDeviceConfig.xml")) << xml << "</Root>";
  std::string command = "env HOME='" + Home() + "' NKDX_CONFIG_DIR='" + dir_.File("config") + "' NKDX_LOG_FILE='" +
                        Log() + "' " + program;

  std::string output;
  ASSERT_EQ(kdxtest::RunCommand(command + " --list-models", &output), 0) << output;
  EXPECT_TRUE(std::regex_search(output, std::regex(R"(\nNK-OK +128\*128 +10 +Full Image +KDX\n$)"))) << output;
  EXPECT_EQ(output.find('\x1b'), std::string::npos) << output;
  for (const char* refused : {"escaped", "absolute", "RED", "NK-FOLDER"})
    EXPECT_EQ(output.find(refused), std::string::npos) << refused << "\n" << output;
  EXPECT_NE(ReadAll(Log()).find("Device 2 skipped: ModelName: the name may not contain / or \\"), std::string::npos);

  EXPECT_EQ(kdxtest::RunCommand(command + " --model ../../escaped --output '" + Out() + "/deep/er' " +
                                    MediaPath("tiny_64x48.mp4") + " < /dev/null",
                                &output),
            2);
  EXPECT_NE(output.find("no player model is called '../../escaped'"), std::string::npos) << output;
  EXPECT_FALSE(fs::exists(Out())) << Tree(dir_.path());
}

TEST_F(KdxConvert, DefaultsComeFromTheSettingsFileElseTheVideosFolder) {
  WriteSettings("[CONVERTOR]\nDestPath=" + dir_.File("stored") + "\nComboDevice=2\n");
  std::string output;
  ASSERT_EQ(Run("--mode full-screen " + MediaPath("clip_mpeg4_mp3.avi"), &output), 0) << output;
  std::string info = Info(dir_.File("stored/NK-96/clip_mpeg4_mp3.kdx"));
  EXPECT_NE(info.find("width 96, height 64"), std::string::npos) << info;

  WriteSettings("[CONVERTOR]\nComboDevice=7\n");
  ASSERT_EQ(Run(MediaPath("tiny_64x48.mp4"), &output), 0) << output;
  EXPECT_NE(Info(Home() + "/Videos/NK-128/tiny_64x48.kdx"), "");
}

// Ctrl-C, a termination request and a hang-up: the running file stops, no
// run folder or partial file stays, and the shell sees the signal.
TEST_F(KdxConvert, SignalsStopTheBatchWithoutPartialFiles) {
  // Far more work than a second, so the signal lands while a file is being converted.
  const int kFiles = 40;
  std::string inputs;
  for (int i = 0; i < kFiles; ++i) {
    std::string link = dir_.File("input" + std::to_string(i) + ".mp4");
    fs::create_symlink(MediaPath("clip_h264_aac.mp4"), link);
    inputs += " " + link;
  }
  for (const auto& [signal, status] : {std::pair{"INT", 130}, {"TERM", 143}, {"HUP", 129}}) {
    SCOPED_TRACE(signal);
    fs::remove_all(Out());
    std::string output;
    Run("--model NK-176T --output '" + Out() + "'" + inputs + " < /dev/null; echo \"status $?\"", &output,
        std::string("timeout --preserve-status -s ") + signal + " 1");
    EXPECT_NE(output.find("stopped"), std::string::npos) << output;
    EXPECT_NE(output.find("status " + std::to_string(status) + "\n"), std::string::npos) << output;
    // Whatever was written is complete, and nothing else is left behind.
    int converted = 0;
    for (const auto& entry : fs::recursive_directory_iterator(Out())) {
      if (entry.is_directory()) {
        EXPECT_EQ(entry.path(), fs::path(Out() + "/NK-176T"));
        continue;
      }
      EXPECT_EQ(entry.path().extension(), ".kdx") << entry.path();
      EXPECT_NE(Info(entry.path().string()), "") << entry.path();
      ++converted;
    }
    EXPECT_LT(converted, kFiles);
  }
}

}  // namespace

namespace {

// The files users bring, one kdxconvert run each: pictures or the reason,
// and the source always left as it was.
TEST_F(KdxConvert, EveryKindOfFileConvertsOrSaysWhy) {
  const std::vector<kdxtest::JobCase> cases = kdxtest::JobCases();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const kdxtest::JobCase& c = cases[i];
    SCOPED_TRACE(c.label);
    const std::string out = dir_.File("out-" + std::to_string(i));
    std::string source = c.source;
    if (source.rfind("OUT/", 0) == 0) source = out + source.substr(3);
    else source = dir_.File(source);
    fs::create_directories(fs::path(source).parent_path());
    fs::copy_file(MediaPath(c.clip), source);
    const std::string before = ReadAll(source);
    std::string arguments = "--model NK-128 --overwrite --output '" + out + "'";
    if (!c.start.empty()) arguments += " --start " + c.start + " --end " + c.end;
    if (c.addSilence) arguments += " --add-silence";
    std::string output;
    const int status = Run(arguments + " '" + source + "'", &output);
    const std::string result = out + "/NK-128/" + fs::path(source).stem().string() + ".kdx";
    if (c.failure.empty()) {
      EXPECT_EQ(status, 0) << output;
      EXPECT_TRUE(std::regex_search(Info(result), std::regex("frame count [1-9]"))) << output;
    } else {
      EXPECT_EQ(status, 1) << output;
      EXPECT_NE(output.find(source + ": Failed. " + c.failure), std::string::npos) << output;
      if (c.failure == kdxtest::kNoSoundTrack)
        EXPECT_NE(output.find(c.failure + std::string(" --add-silence")), std::string::npos) << output;
      if (result != source) {
        EXPECT_FALSE(fs::exists(result));
      }
      // The folders made for the file go with it.
      for (const std::string& folder : {out, out + "/NK-128"}) {
        std::error_code missing;
        EXPECT_FALSE(fs::is_empty(folder, missing)) << folder << " was left empty";
      }
    }
    EXPECT_EQ(ReadAll(source), before);
  }
}

}  // namespace
