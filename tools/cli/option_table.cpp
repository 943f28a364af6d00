// SPDX-License-Identifier: GPL-2.0-or-later
#include "tools/cli/option_table.h"

#include <getopt.h>

#include <algorithm>

namespace {

// Long-only options get codes above every character.
constexpr int kFirstLongOnlyCode = 256;
constexpr size_t kHelpColumn = 25;
constexpr size_t kHelpWidth = 79;

int CodeOf(std::span<const OptionSpec> specs, size_t row) {
  return specs[row].shortName != 0 ? static_cast<unsigned char>(specs[row].shortName)
                                   : kFirstLongOnlyCode + static_cast<int>(row);
}

// The row getopt_long answered with `code`; specs.size() when none.
size_t RowOf(std::span<const OptionSpec> specs, int code) {
  for (size_t row = 0; row < specs.size(); ++row) {
    if (code != 0 && CodeOf(specs, row) == code) return row;
  }
  return specs.size();
}

// The option as the user wrote it: "--model" of "--model=x", "-m" of "-mx".
std::string Spelling(const std::string& argument, int code) {
  if (argument.starts_with("--")) return argument.substr(0, argument.find('='));
  return std::string("-") + static_cast<char>(code);
}

// Why getopt_long did not take "--name...": no such option, or several
// options begin with what was given.
std::string LongOptionError(std::span<const OptionSpec> specs, const std::string& spelling) {
  const std::string given = spelling.substr(2);
  std::string candidates;
  for (const OptionSpec& spec : specs) {
    if (std::string(spec.longName).starts_with(given)) candidates += std::string(candidates.empty() ? "" : ", ") + "--" + spec.longName;
  }
  if (candidates.find(',') != std::string::npos) return "option '" + spelling + "' is ambiguous (" + candidates + ")";
  return "unknown option '" + spelling + "'";
}

// Words of `text` on lines of at most `width` characters after the indent.
std::string Wrapped(const std::string& text, size_t indent, size_t width) {
  std::string out, line;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    if (!line.empty() && indent + line.size() + 1 + word.size() > width) {
      out += line + "\n" + std::string(indent, ' ');
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
    start = end + 1;
  }
  return out + line + "\n";
}

}  // namespace

ParsedArguments ParseArguments(std::span<const OptionSpec> specs, const std::vector<std::string>& arguments) {
  std::vector<option> longOptions;
  std::string shortOptions = ":";  // a missing value answers ':' rather than '?'
  for (size_t row = 0; row < specs.size(); ++row) {
    const bool takesValue = specs[row].valueName != nullptr;
    longOptions.push_back({specs[row].longName, takesValue ? required_argument : no_argument, nullptr, CodeOf(specs, row)});
    if (specs[row].shortName != 0) shortOptions += std::string(1, specs[row].shortName) + (takesValue ? ":" : "");
  }
  longOptions.push_back({nullptr, 0, nullptr, 0});

  std::vector<std::string> words = {"program"};
  words.insert(words.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  ParsedArguments parsed;
  optind = 0;  // starts getopt_long afresh, also after an earlier command line
  opterr = 0;  // the caller words the errors
  for (;;) {
    const int code = getopt_long(argc, argv.data(), shortOptions.c_str(), longOptions.data(), nullptr);
    if (code == -1) break;
    const std::string argument = argv[optind - 1];
    if (code == ':') {
      parsed.error = Spelling(argument, optopt) + " needs a value";
      return parsed;
    }
    if (code == '?') {
      if (RowOf(specs, optopt) < specs.size()) {
        parsed.error = Spelling(argument, optopt) + " takes no value";
      } else if (optopt != 0) {
        parsed.error = "unknown option '-" + std::string(1, static_cast<char>(optopt)) + "'";
      } else {
        parsed.error = LongOptionError(specs, Spelling(argument, 0));
      }
      return parsed;
    }
    parsed.options.push_back({RowOf(specs, code), optarg != nullptr ? optarg : ""});
  }
  parsed.operands.assign(argv.begin() + optind, argv.begin() + argc);
  return parsed;
}

std::string OptionHelp(std::span<const OptionSpec> specs) {
  std::string text;
  for (const OptionSpec& spec : specs) {
    std::string left = spec.shortName != 0 ? std::string("  -") + spec.shortName + ", " : std::string(6, ' ');
    left += std::string("--") + spec.longName;
    if (spec.valueName != nullptr) left += std::string(" ") + spec.valueName;
    left += left.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - left.size(), ' ')
                                           : "\n" + std::string(kHelpColumn, ' ');
    text += left + Wrapped(spec.help, kHelpColumn, kHelpWidth);
  }
  return text;
}
