// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/startup/DirectXVersion.h"

#include <gtest/gtest.h>

#include <cstring>

#include "converter/core/startup/file_version.h"
#include "tests/converter/core/startup/profile_fixture.h"

namespace {

// Every file of the system-folder table gone; the profile's first entry for a
// file counts, so files listed before these stay.
const char kNoDirectXFiles[] =
    "system32\\ddraw.dll=missing\nsystem32\\d3drg8x.dll=missing\nsystem32\\dplayx.dll=missing\n"
    "system32\\dinput.dll=missing\nsystem32\\d3d8.dll=missing\nsystem32\\mpg2splt.ax=missing\n"
    "system32\\dpnet.dll=missing\nsystem32\\d3d9.dll=missing\n";

struct Found {
  HRESULT result;
  uint32_t packed;
  std::string text;
};

Found DetectWith(const std::string& profileText) {
  ScopedProfile profile(profileText);
  Found found{};
  char text[10];
  found.result = GetDirectXVersion(&found.packed, text, sizeof text);
  found.text = text;
  return found;
}

TEST(DirectXVersion, PackedAndTextForms) {
  EXPECT_EQ(PackDirectXVersion({9, 0, 'c'}), 0x00090003u);
  EXPECT_EQ(PackDirectXVersion({9, 0, 'C'}), 0x00090003u);
  EXPECT_EQ(PackDirectXVersion({9, 0, ' '}), 0x00090000u);
  EXPECT_EQ(PackDirectXVersion({8, 1, 'z'}), 0x0008011Au);
  EXPECT_EQ(PackDirectXVersion({8, 1, '?'}), 0x00080100u);

  char text[10];
  FormatDirectXVersion({9, 0, 'c'}, text, sizeof text);
  EXPECT_STREQ(text, "9.0c");
  FormatDirectXVersion({9, 0, ' '}, text, sizeof text);
  EXPECT_STREQ(text, "9.0");
  FormatDirectXVersion({9, 0, 'c'}, text, 3);
  EXPECT_STREQ(text, "9.");
  std::memset(text, 'x', sizeof text);
  FormatDirectXVersion({9, 0, 'c'}, text, 0);
  EXPECT_EQ(text[0], 'x') << "no room: nothing written";
}

TEST(DirectXVersion, DiagnosticsServiceAnswersFirst) {
  Found found = DetectWith("[DxDiag]\ndwDirectXVersionMajor=9\ndwDirectXVersionMinor=0\nszDirectXVersionLetter=C\n");
  EXPECT_EQ(found.result, S_OK);
  EXPECT_EQ(found.packed, 0x00090003u);
  EXPECT_EQ(found.text, "9.0c");
  found = DetectWith("[DxDiag]\nszDirectXVersionLetter=' '\n");
  EXPECT_EQ(found.packed, 0x00090000u);
  EXPECT_EQ(found.text, "9.0");
  // The files would say 8.2: the service's answer wins.
  found = DetectWith("[DxDiag]\ndwDirectXVersionMajor=10\n[Files]\nsystem32\\d3d9.dll=missing\n");
  EXPECT_EQ(found.text, "10.0c");
}

TEST(DirectXVersion, IncompleteDiagnosticsFallBackToTheSystemFolder) {
  // The files without d3d9.dll say 8.2.
  for (const char* diagnostics :
       {"Available=0", "dwDirectXVersionMajor=absent", "dwDirectXVersionMinor=absent", "szDirectXVersionLetter=absent",
        "szDirectXVersionLetter=string:", "dwDirectXVersionMajor=string:9", "szDirectXVersionLetter=dword:3"}) {
    Found found = DetectWith(std::string("[DxDiag]\n") + diagnostics + "\n[Files]\nsystem32\\d3d9.dll=missing\n");
    EXPECT_EQ(found.result, S_OK);
    EXPECT_EQ(found.text, "8.2") << diagnostics;
    EXPECT_EQ(found.packed, 0x00080200u) << diagnostics;
  }
}

TEST(DirectXVersion, SystemFolderLastHoldingRowWins) {
  struct Case {
    std::string files;
    std::string text;
  };
  const Case cases[] = {
      {"", "0.0"},
      {"ddraw.dll=4.2.0.95", "1.0"},
      {"ddraw.dll=4.2.0.94", "0.0"},
      {"ddraw.dll=4.6.0.318", "6.0"},
      {"ddraw.dll=4.6.0.318\ndplayx.dll=4.6.3.518", "6.1a"},
      // A later row that does not hold leaves the earlier answer.
      {"ddraw.dll=4.7.0.700\ndinput.dll=4.7.0.715", "7.0"},
      {"ddraw.dll=4.7.0.700\ndinput.dll=4.7.0.716", "7.0a"},
      // An earlier file's newer version does not beat a later row.
      {"d3drg8x.dll=4.4.0.70\nddraw.dll=4.4.0.68", "3.0a"},
      {"ddraw.dll=4.8.0.400", "8.0"},
      {"ddraw.dll=5.1.2258.399", "7.0"},
      {"ddraw.dll=5.1.2258.400", "8.0"},
      {"ddraw.dll=6.0.0.0", "7.0"},
      {"d3d8.dll=4.8.1.881", "8.1"},
      {"d3d8.dll=5.1.2600.900", "8.1"},
      {"d3d8.dll=5.1.2600.901", "8.1a"},
      {"d3d8.dll=5.0.9999.9999", "0.0"},
      {"d3d8.dll=4.8.1.901\nmpg2splt.ax=6.3.1.885", "8.1b"},
      {"mpg2splt.ax=6.3.1.885\ndpnet.dll=5.2.3677.133", "8.1b"},
      {"dpnet.dll=4.9.0.134", "8.2"},
      // d3d9.dll with any readable version means 9.0; without one it is skipped.
      {"d3d9.dll=1.0.0.0", "9.0"},
      {"dpnet.dll=4.9.0.134\nd3d9.dll=present", "8.2"},
      {"dpnet.dll=4.9.0.134\nd3d9.dll=nofixedinfo", "8.2"},
  };
  for (const Case& c : cases) {
    std::string files = c.files;
    for (size_t line = 0; line != std::string::npos && !files.empty();) {
      files.insert(line, "system32\\");
      line = files.find('\n', line);
      if (line != std::string::npos) ++line;
    }
    Found found = DetectWith("[DxDiag]\nAvailable=0\n[Files]\n" + files + "\n" + kNoDirectXFiles);
    EXPECT_EQ(found.result, S_OK);
    EXPECT_EQ(found.text, c.text) << c.files;
  }
}

TEST(DirectXVersion, BuiltInSystemIsNinePointZeroC) {
  ScopedEnv noProfile("NKDX_COMPAT_PROFILE", nullptr);
  uint32_t packed = 0;
  char text[10];
  EXPECT_EQ(GetDirectXVersion(&packed, text, sizeof text), S_OK);
  EXPECT_EQ(packed, 0x00090003u);
  EXPECT_STREQ(text, "9.0c");
  EXPECT_EQ(InspectSystemFolderDirectXVersion().major, 9u) << "d3d9.dll is there";
  EXPECT_EQ(GetDirectXVersion(nullptr, nullptr, 0), S_OK) << "either output may be absent";
  char shortText[3];
  EXPECT_EQ(GetDirectXVersion(nullptr, shortText, sizeof shortText), S_OK);
  EXPECT_STREQ(shortText, "9.");
}

TEST(DirectXVersion, NoSystemFolderMeansZero) {
  Found found = DetectWith("[DxDiag]\nAvailable=0\n[System]\nSystemDirectory=\n");
  EXPECT_EQ(found.result, S_OK);
  EXPECT_EQ(found.packed, 0u);
  EXPECT_EQ(found.text, "0.0");
}

TEST(FileVersion, ReadsTheFixedFileInformation) {
  ScopedProfile profile("[Files]\nsystem32\\a.dll=4.8.1.881\nsystem32\\b.dll=present\nsystem32\\c.dll=nofixedinfo\n");
  uint64_t version = 0;
  EXPECT_EQ(GetFileVersion("C:\\WINDOWS\\system32\\a.dll", &version), S_OK);
  EXPECT_EQ(version, 0x0004000800010371u);
  EXPECT_EQ(version, MakeFileVersion(4, 8, 1, 881));
  EXPECT_EQ(GetFileVersion("C:\\WINDOWS\\system32\\b.dll", &version), E_FAIL);
  EXPECT_EQ(GetFileVersion("C:\\WINDOWS\\system32\\c.dll", &version), E_FAIL);
  EXPECT_EQ(GetFileVersion("C:\\WINDOWS\\system32\\d.dll", &version), E_FAIL);
  EXPECT_EQ(GetFileVersion(nullptr, &version), E_INVALIDARG);
  EXPECT_EQ(GetFileVersion("C:\\WINDOWS\\system32\\a.dll", nullptr), E_INVALIDARG);
}

}  // namespace
