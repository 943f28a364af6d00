// SPDX-License-Identifier: GPL-2.0-or-later
#include "converter/core/devices/TesselConfigFile.h"

#include <pugixml.hpp>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "converter/core/support/log_file.h"
#include "converter/core/support/name_rule.h"
#include "converter/core/support/path_utils.h"

namespace {

const char kDeviceElement[] = "Device";

// Model names are shown in one line of the selector and the terminal.
constexpr size_t kLongestModelName = 64;

// The table lists a handful of players in a few kilobytes; anything far
// larger is no device configuration and is not read into memory.
constexpr off_t kLargestConfigFile = 1 << 20;

// Load results of our own, beside pugixml's status values, for files the
// parser would take or would choke on.
constexpr int kNotAFile = 100;      // the parser blocks on a pipe and sizes a folder absurdly
constexpr int kFileTooLarge = 101;  // larger than kLargestConfigFile
constexpr int kNotUtf8 = 102;       // text in neither UTF-8 nor a declared encoding the parser converts
constexpr int kNotWellFormed = 103;  // what the parser lets pass: two roots, text outside the root, a repeated attribute

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  size_t last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

// The walks below are pugixml's own, which need no recursion however deep
// the document nests.
struct TextCollector : pugi::xml_tree_walker {
  std::string text;
  bool for_each(pugi::xml_node& node) override {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) text += node.value();
    return true;
  }
};

struct DeviceCollector : pugi::xml_tree_walker {
  std::vector<pugi::xml_node> devices;
  bool for_each(pugi::xml_node& node) override {
    if (node.type() == pugi::node_element && std::string_view(node.name()) == kDeviceElement) devices.push_back(node);
    return true;
  }
};

// The text of the first child element of that name, white space around it
// dropped (identifiers and the Rotate flag are compared as written); empty
// when there is none.
std::optional<std::string> ChildText(const pugi::xml_node& parent, const char* name) {
  pugi::xml_node child = parent.child(name);
  if (!child) return std::nullopt;
  TextCollector collector;
  child.traverse(collector);
  return Trim(collector.text);
}

// Device elements at any depth, in document order (a Device inside another
// one counts too).
std::vector<pugi::xml_node> DeviceElements(pugi::xml_document& document) {
  DeviceCollector collector;
  document.traverse(collector);
  return collector.devices;
}

// Names, values and attributes of every node are well-formed UTF-8.
struct Utf8Checker : pugi::xml_tree_walker {
  bool valid = true;
  static bool IsUtf8(const char* text) {
    std::wstring ignored;
    return SUCCEEDED(AnsiToWide(text, &ignored));
  }
  bool for_each(pugi::xml_node& node) override {
    valid = IsUtf8(node.name()) && IsUtf8(node.value());
    for (pugi::xml_attribute attribute : node.attributes())
      valid = valid && IsUtf8(attribute.name()) && IsUtf8(attribute.value());
    return valid;
  }
};

// Some element has two attributes of one name.
struct RepeatedAttributeFinder : pugi::xml_tree_walker {
  bool for_each(pugi::xml_node& node) override {
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
      for (pugi::xml_attribute b = a.next_attribute(); b; b = b.next_attribute()) {
        if (std::string_view(a.name()) == b.name()) return false;
      }
    }
    return true;
  }
};

// 0 when the document has exactly one root element, nothing but markup
// around it and no element with a repeated attribute; else why not. The
// document was read keeping text outside the root, which pugixml otherwise
// drops unseen.
int StructureFailure(pugi::xml_document& document) {
  int roots = 0;
  for (pugi::xml_node node : document.children()) {
    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) return kNotWellFormed;
    if (node.type() == pugi::node_element) ++roots;
  }
  if (roots == 0) return pugi::status_no_document_element;
  if (roots > 1) return kNotWellFormed;
  RepeatedAttributeFinder finder;
  return document.traverse(finder) ? 0 : kNotWellFormed;
}

// Loads the document at path; 0, or pugixml's status or one of the codes
// above for why it could not be used.
int LoadDocument(const std::string& path, pugi::xml_document& document) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return pugi::status_file_not_found;
  if (!S_ISREG(info.st_mode)) return kNotAFile;
  if (info.st_size > kLargestConfigFile) return kFileTooLarge;
  const pugi::xml_parse_result loaded = document.load_file(path.c_str(), pugi::parse_default | pugi::parse_fragment);
  if (!loaded) return loaded.status;
  if (const int failure = StructureFailure(document)) return failure;
  // pugixml converts UTF-16, UTF-32 and Latin-1 to UTF-8 but passes bytes
  // it takes for UTF-8 through unchecked.
  Utf8Checker checker;
  if (loaded.encoding == pugi::encoding_utf8 && !document.traverse(checker)) return kNotUtf8;
  return 0;
}

DEVICE_CONFIG_ENTRY ReadEntry(const pugi::xml_node& device) {
  DEVICE_CONFIG_ENTRY entry;
  struct Required {
    const char* name;
    std::string DEVICE_CONFIG_ENTRY::*field;
  };
  const Required required[] = {{"idVendor", &DEVICE_CONFIG_ENTRY::idVendor},
                               {"idProduct", &DEVICE_CONFIG_ENTRY::idProduct},
                               {"ModelName", &DEVICE_CONFIG_ENTRY::ModelName},
                               {"TargetFolder", &DEVICE_CONFIG_ENTRY::TargetFolder}};
  for (const Required& item : required) {
    if (auto text = ChildText(device, item.name)) {
      entry.*item.field = *text;
    } else {
      KDX_ERROR_LOG(std::string("selectSingleNode ") + item.name + " error!");
    }
  }
  if (pugi::xml_node video = device.child("Video")) {
    entry.VideoFormat = ChildText(video, "Format").value_or("");
    entry.ScreenSize = ChildText(video, "ScreenSize").value_or("");
    entry.FrameRate = ChildText(video, "FrameRate").value_or("");
    entry.Rotate = ChildText(video, "Rotate").value_or("");
    entry.VideoBitRate = ChildText(video, "BitRate").value_or("");
  }
  if (pugi::xml_node audio = device.child("Audio")) {
    entry.AudioFormat = ChildText(audio, "Format").value_or("");
    entry.AudioBitRate = ChildText(audio, "BitRate").value_or("");
  }
  return entry;
}

// Characters of UTF-8 text (the table was checked to be UTF-8).
size_t CharacterCount(const std::string& text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

// C1 control characters (U+0080..U+009F) are as unprintable as C0 ones.
bool HoldsC1Control(const std::string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) == 0xC2 && static_cast<unsigned char>(text[i + 1]) <= 0x9F) return true;
  }
  return false;
}

// Why the entry cannot be used, or "": its model name names a folder and
// its target folder a path on the player.
std::string EntryRefusal(const DEVICE_CONFIG_ENTRY& entry) {
  if (std::string why = NameRefusal(entry.ModelName, NameShape::kOneComponent); !why.empty()) return "ModelName: " + why;
  if (CharacterCount(entry.ModelName) > kLongestModelName) return "ModelName: longer than 64 characters";
  if (HoldsC1Control(entry.ModelName)) return "ModelName: the name holds a control character";
  const std::string folder = TargetFolderBelowRoot(entry.TargetFolder);
  if (folder.empty()) return {};
  if (std::string why = NameRefusal(folder, NameShape::kRelativePath); !why.empty()) return "TargetFolder: " + why;
  return {};
}

}  // namespace

std::string TargetFolderBelowRoot(const std::string& targetFolder) {
  std::string folder = targetFolder;
  if (!folder.empty() && (folder.front() == '\\' || folder.front() == '/')) folder.erase(0, 1);
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

bool IdFieldsMatch(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  return std::equal(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(n), b.begin(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

bool CTesselConfigFile::Init() {
  return Init(GetDataFolder() + kDeviceTableFileName);
}

bool CTesselConfigFile::Init(const std::string& configPath) {
  m_strPath = configPath;
  pugi::xml_document document;
  if (const int failure = LoadDocument(m_strPath, document)) {
    WriteLog("**CTesselConfigFile_Init** load file [%s] failed: %d", m_strPath.c_str(), failure);
    return false;
  }
  m_nCount = static_cast<int>(DeviceElements(document).size());
  return true;
}

bool CTesselConfigFile::GetTesselDeviceNode() {
  pugi::xml_document document;
  if (const int failure = LoadDocument(m_strPath, document)) {
    WriteLog("**GetTesselDeviceNode** load file Fail: %d", failure);
    return false;
  }
  std::vector<pugi::xml_node> devices = DeviceElements(document);
  m_devices.clear();
  m_nCount = static_cast<int>(devices.size());
  for (size_t i = 0; i < devices.size(); ++i) {
    DEVICE_CONFIG_ENTRY entry = ReadEntry(devices[i]);
    if (std::string why = EntryRefusal(entry); !why.empty()) {
      WriteLog("**GetTesselDeviceNode** Device %zu skipped: %s", i + 1, why.c_str());
      continue;
    }
    m_devices.push_back(std::move(entry));
  }
  return true;
}

std::optional<size_t> CTesselConfigFile::FindDeviceEntry(const std::string& vid, const std::string& pid) const {
  for (size_t i = 0; i < m_devices.size(); ++i) {
    if (IdFieldsMatch(vid, m_devices[i].idVendor) && IdFieldsMatch(pid, m_devices[i].idProduct)) return i;
  }
  return std::nullopt;
}
