// SPDX-License-Identifier: GPL-2.0-or-later
// The process token's groups in the layout the token service hands out: a
// count, one SID pointer and attribute word per group, then the SIDs
// themselves. The groups come from [Token] Groups of the compatibility
// profile when it lists them, else from the built-in list.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct SID_IDENTIFIER_AUTHORITY {
  uint8_t Value[6];
};

struct SID {
  uint8_t Revision;
  uint8_t SubAuthorityCount;
  SID_IDENTIFIER_AUTHORITY IdentifierAuthority;
  uint32_t SubAuthority[1];  // SubAuthorityCount of them
};

struct SID_AND_ATTRIBUTES {
  SID* Sid;
  uint32_t Attributes;
};

struct TOKEN_GROUPS {
  uint32_t GroupCount;
  SID_AND_ATTRIBUTES Groups[1];  // GroupCount of them
};

constexpr uint32_t SE_GROUP_MANDATORY = 0x1;
constexpr uint32_t SE_GROUP_ENABLED_BY_DEFAULT = 0x2;
constexpr uint32_t SE_GROUP_ENABLED = 0x4;
constexpr uint32_t SE_GROUP_USE_FOR_DENY_ONLY = 0x10;

constexpr uint8_t SECURITY_NT_AUTHORITY = 5;
constexpr uint32_t SECURITY_BUILTIN_DOMAIN_RID = 32;
constexpr uint32_t DOMAIN_ALIAS_RID_ADMINS = 544;
constexpr size_t kMaxSubAuthorities = 15;

// The bytes of a SID with that authority and those sub-authorities (at most 15).
std::vector<uint8_t> MakeSid(uint64_t authority, const std::vector<uint32_t>& subAuthorities);
// The bytes of a SID written as "S-1-5-32-544"; nothing when it is no SID.
std::optional<std::vector<uint8_t>> SidFromString(const std::string& text);
size_t SidLength(const SID* sid);
bool EqualSid(const SID* a, const SID* b);

struct TokenGroup {
  std::string sid;  // "S-1-5-32-544"
  uint32_t attributes = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
};

// The built-in groups: Everyone, Users and Administrators for every user,
// and each of the user's Unix groups as S-1-22-2-GID.
std::vector<TokenGroup> RealTokenGroups();

// The token's groups: [Token] Groups of the profile ("S-1-5-32-544/deny"
// marks a group present only for denial; spaces or commas between groups),
// else RealTokenGroups(). Nothing when [Token] Available=0 (the token cannot
// be opened).
std::optional<std::vector<TokenGroup>> ProcessTokenGroups();

// Lays the token's groups out in `buffer` (aligned for pointers). False when
// the token cannot be opened or the list needs more than `size` bytes;
// *needed (when given) then says how many (0 when the token cannot be opened).
bool GetProcessTokenGroups(void* buffer, uint32_t size, uint32_t* needed);
