#pragma once
// A command's options as one table, and the walk over the arguments that
// applies it: "--name value" and "--name=value" alike, a short form such as
// "-h" as it stands, "--" ending the options; other words are positional.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli_text.h"

namespace vormek::cli {

// The commands an option belongs to, as bits of a mask (see the command
// table of cli_options.cpp); every command by default.
using TCommandMask = unsigned;
inline constexpr TCommandMask kEveryCommand = ~0u;

template <class Target>
struct TOptionRule {
  std::string_view Name;  // "--tables", or a short form such as "-h"
  bool TakesValue = false;
  // Sets the option's field from its value (empty for a flag); returns the
  // usage error, or the empty text when the value is fine.
  std::string (*Apply)(Target& into, const std::string& value) = nullptr;
  bool EndsOptions = false;  // help, version: what follows is not looked at
  TCommandMask Commands = kEveryCommand;
};

namespace detail {

template <class Target>
const TOptionRule<Target>* FindOption(std::span<const TOptionRule<Target>> table, std::string_view name) {
  for (const TOptionRule<Target>& rule : table) {
    if (rule.Name == name) return &rule;
  }
  return nullptr;
}

inline bool IsLongOption(const std::string& arg) { return arg.size() >= 2 && arg.compare(0, 2, "--") == 0; }

}  // namespace detail

// Applies the options of `args` to `into`, collects the other words in
// `positional` and the rules of the options given in `given`. Returns the
// first usage error, or the empty text; stops early at an option that ends
// the options.
template <class Target>
std::string ApplyOptions(const std::vector<std::string>& args, std::span<const TOptionRule<Target>> table, Target& into,
                         std::vector<std::string>& positional, std::vector<const TOptionRule<Target>*>& given) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const TOptionRule<Target>* rule = nullptr;
    std::string name = arg;
    std::string value;
    if (optionsEnded) {
      positional.push_back(arg);
      continue;
    }
    if (detail::IsLongOption(arg)) {
      // "--option=value" stands for "--option value".
      const std::size_t equals = arg.find('=');
      name = arg.substr(0, equals);
      rule = detail::FindOption(table, name);
      if (equals != std::string::npos) {
        if (rule == nullptr || !rule->TakesValue) return Echo(name) + " takes no value";
        value = arg.substr(equals + 1);
      } else if (name == "--") {
        optionsEnded = true;
        continue;
      } else if (rule == nullptr) {
        return "unknown option " + Echo(name);
      } else if (rule->TakesValue) {
        if (i + 1 >= args.size()) return Echo(name) + " needs a value";
        value = args[++i];
      }
    } else {
      rule = detail::FindOption(table, arg);
      if (rule == nullptr || rule->TakesValue) {
        positional.push_back(arg);
        continue;
      }
    }
    if (std::string error = rule->Apply(into, value); !error.empty()) return error;
    given.push_back(rule);
    if (rule->EndsOptions) return {};
  }
  return {};
}

// Reads a whole decimal int, nothing before or after it.
bool ReadWholeNumber(const std::string& text, int& value);

// The folder of --tables: an empty name would quietly mean the built-in
// timetable, so it is refused.
std::string ReadTablesFolder(std::string& into, const std::string& value);

}  // namespace vormek::cli
