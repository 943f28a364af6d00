// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/base/security_token.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "platform/base/compat_profile.h"

namespace {

const char kEveryone[] = "S-1-1-0";
const char kUsers[] = "S-1-5-32-545";
const char kAdministrators[] = "S-1-5-32-544";
const char kDenyOnlyMark[] = "/deny";

std::optional<uint64_t> ParseDecimal(const std::string& text, uint64_t limit) {
  if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  errno = 0;
  unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
  if (errno != 0 || value > limit) return std::nullopt;
  return value;
}

std::vector<gid_t> UserGroupIds() {
  std::vector<gid_t> ids(static_cast<size_t>(std::max(::getgroups(0, nullptr), 0)));
  int count = ::getgroups(static_cast<int>(ids.size()), ids.data());
  ids.resize(static_cast<size_t>(std::max(count, 0)));
  gid_t primary = ::getegid();
  if (std::find(ids.begin(), ids.end(), primary) == ids.end()) ids.insert(ids.begin(), primary);
  return ids;
}

std::vector<TokenGroup> ProfileGroups(std::string written) {
  std::replace(written.begin(), written.end(), ',', ' ');
  std::istringstream words(written);
  std::vector<TokenGroup> groups;
  std::string word;
  while (words >> word) {
    TokenGroup group;
    size_t mark = word.size() >= std::strlen(kDenyOnlyMark) ? word.size() - std::strlen(kDenyOnlyMark) : 0;
    if (word.compare(mark, std::string::npos, kDenyOnlyMark) == 0) {
      word.erase(mark);
      group.attributes = SE_GROUP_USE_FOR_DENY_ONLY;
    }
    group.sid = word;
    groups.push_back(group);
  }
  return groups;
}

}  // namespace

std::vector<uint8_t> MakeSid(uint64_t authority, const std::vector<uint32_t>& subAuthorities) {
  size_t count = std::min(subAuthorities.size(), kMaxSubAuthorities);
  std::vector<uint8_t> bytes(offsetof(SID, SubAuthority) + count * sizeof(uint32_t));
  SID header{};
  header.Revision = 1;
  header.SubAuthorityCount = static_cast<uint8_t>(count);
  for (int i = 0; i < 6; ++i) header.IdentifierAuthority.Value[5 - i] = static_cast<uint8_t>(authority >> (8 * i));
  std::memcpy(bytes.data(), &header, offsetof(SID, SubAuthority));
  std::memcpy(bytes.data() + offsetof(SID, SubAuthority), subAuthorities.data(), count * sizeof(uint32_t));
  return bytes;
}

std::optional<std::vector<uint8_t>> SidFromString(const std::string& text) {
  if (text.size() < 2 || (text[0] != 'S' && text[0] != 's') || text[1] != '-') return std::nullopt;
  std::vector<std::string> parts;
  std::istringstream in(text.substr(2));
  std::string part;
  while (std::getline(in, part, '-')) parts.push_back(part);
  if (parts.size() < 2 || parts.size() - 2 > kMaxSubAuthorities || text.back() == '-') return std::nullopt;
  if (ParseDecimal(parts[0], 255) != 1u) return std::nullopt;
  std::optional<uint64_t> authority = ParseDecimal(parts[1], 0xFFFFFFFFFFFFull);
  if (!authority) return std::nullopt;
  std::vector<uint32_t> subAuthorities;
  for (size_t i = 2; i < parts.size(); ++i) {
    std::optional<uint64_t> value = ParseDecimal(parts[i], 0xFFFFFFFFu);
    if (!value) return std::nullopt;
    subAuthorities.push_back(static_cast<uint32_t>(*value));
  }
  return MakeSid(*authority, subAuthorities);
}

size_t SidLength(const SID* sid) { return offsetof(SID, SubAuthority) + sid->SubAuthorityCount * sizeof(uint32_t); }

bool EqualSid(const SID* a, const SID* b) {
  return SidLength(a) == SidLength(b) && std::memcmp(a, b, SidLength(a)) == 0;
}

std::vector<TokenGroup> RealTokenGroups() {
  std::vector<gid_t> ids = UserGroupIds();
  // Converting and reaching players need no administrator on Linux, so no
  // user is turned away; only a profile takes the group away.
  std::vector<TokenGroup> groups = {{kEveryone}, {kUsers}, {kAdministrators}};
  for (gid_t id : ids) groups.push_back({"S-1-22-2-" + std::to_string(id)});
  return groups;
}

std::optional<std::vector<TokenGroup>> ProcessTokenGroups() {
  if (compat::ProfileSwitchedOff("Token", "Available")) return std::nullopt;
  if (std::optional<std::string> written = compat::ProfileEntry("Token", "Groups")) return ProfileGroups(*written);
  return RealTokenGroups();
}

bool GetProcessTokenGroups(void* buffer, uint32_t size, uint32_t* needed) {
  uint32_t ignored = 0;
  if (needed == nullptr) needed = &ignored;
  *needed = 0;
  std::optional<std::vector<TokenGroup>> groups = ProcessTokenGroups();
  if (!groups) return false;
  std::vector<std::vector<uint8_t>> sids;
  std::vector<uint32_t> attributes;
  for (const TokenGroup& group : *groups) {
    // A group the profile misspells is not one of the user's.
    if (std::optional<std::vector<uint8_t>> sid = SidFromString(group.sid)) {
      sids.push_back(*sid);
      attributes.push_back(group.attributes);
    }
  }
  size_t total = offsetof(TOKEN_GROUPS, Groups) + sids.size() * sizeof(SID_AND_ATTRIBUTES);
  size_t sidStart = total;
  for (const auto& sid : sids) total += sid.size();
  *needed = static_cast<uint32_t>(std::min<size_t>(total, 0xFFFFFFFFu));
  if (buffer == nullptr || total > size) return false;
  auto* bytes = static_cast<uint8_t*>(buffer);
  auto* list = static_cast<TOKEN_GROUPS*>(buffer);
  list->GroupCount = static_cast<uint32_t>(sids.size());
  SID_AND_ATTRIBUTES* entries = list->Groups;
  size_t offset = sidStart;
  for (size_t i = 0; i < sids.size(); ++i) {
    std::memcpy(bytes + offset, sids[i].data(), sids[i].size());
    entries[i].Sid = reinterpret_cast<SID*>(bytes + offset);
    entries[i].Attributes = attributes[i];
    offset += sids[i].size();
  }
  return true;
}
