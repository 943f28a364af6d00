// SPDX-License-Identifier: GPL-2.0-or-later
// Command-line options described by a table of rows: getopt_long reads
// them (GNU habits: short and long spellings, "--name=value", unique
// abbreviations, options after the files, "--" ending them), and the same
// rows make the options part of --help. Adding an option is adding a row.
#pragma once

#include <span>
#include <string>
#include <vector>

struct OptionSpec {
  const char* longName;   // "model" for --model
  char shortName;         // 'm' for -m, or 0
  const char* valueName;  // "NAME" when the option takes a value, else nullptr
  const char* help;       // what it does, wrapped to fit the help text
};

struct ParsedOption {
  size_t row;         // index into the table
  std::string value;  // empty for a switch
};

struct ParsedArguments {
  std::vector<ParsedOption> options;  // in the order given
  std::vector<std::string> operands;  // everything that is no option
  std::string error;                  // what is wrong, empty when nothing is
};

// `arguments` without the program's name.
ParsedArguments ParseArguments(std::span<const OptionSpec> specs, const std::vector<std::string>& arguments);

// The rows as --help shows them: "  -m, --model NAME   text", wrapped.
std::string OptionHelp(std::span<const OptionSpec> specs);

// A table row with what the option does to a program's `Options`: the
// error text for a value it cannot use, else empty.
template <class Options>
struct OptionRow {
  OptionSpec spec;
  std::string (*apply)(Options& options, const std::string& value);
};

template <class Member>
struct MemberOf;
template <class Options, class Value>
struct MemberOf<Value Options::*> {
  using Class = Options;
};

// The `apply` of an option without a value that sets one member:
// SetMember<&Options::json, true>.
template <auto member, auto value>
std::string SetMember(typename MemberOf<decltype(member)>::Class& options, const std::string&) {
  options.*member = value;
  return {};
}

template <class Options>
std::vector<OptionSpec> SpecsOf(std::span<const OptionRow<Options>> rows) {
  std::vector<OptionSpec> specs;
  for (const OptionRow<Options>& row : rows) specs.push_back(row.spec);
  return specs;
}

// Applies every option of the command line to `options` and hands back
// the operands; the error text, or empty when all went in.
template <class Options>
std::string ApplyArguments(std::span<const OptionRow<Options>> rows, const std::vector<std::string>& arguments,
                           Options& options, std::vector<std::string>* operands) {
  ParsedArguments parsed = ParseArguments(SpecsOf(rows), arguments);
  if (!parsed.error.empty()) return parsed.error;
  for (const ParsedOption& option : parsed.options) {
    if (std::string error = rows[option.row].apply(options, option.value); !error.empty()) return error;
  }
  *operands = std::move(parsed.operands);
  return {};
}
