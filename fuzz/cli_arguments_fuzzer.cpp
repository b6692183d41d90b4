// Any words as vormek-query's command line (the bytes split at NUL): parsing
// never fails, and what it accepts is sound: a command with the number of
// arguments it takes, options only of that command, a journey request the
// planner can search with.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli_options.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vormek;
  using namespace vormek::cli;
  std::vector<std::string> args(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  const TParseResult parsed = ParseCommandLine(args);
  const TOptions& o = parsed.Options;
  if (!parsed.Error.empty() || o.Help || o.Version) return 0;
  switch (o.Command) {
    case TCommand::Direct:
    case TCommand::Transfer:
    case TCommand::Via:
    case TCommand::Plan: Check(o.Args.size() == 2); break;
    case TCommand::Journey:
      Check(o.Args.size() == 2);
      Check(JourneyOptionsProblem(o.Journey).empty());
      break;
    case TCommand::TrainNumber:
    case TCommand::Station:
    case TCommand::Stops: Check(o.Args.size() == 1); break;
    case TCommand::Stations: Check(o.Args.size() <= 1); break;
  }
  Check(o.Connection.MinChange >= 0 && o.Connection.MinChange <= kMinutesPerDay && o.Connection.MaxCount >= 1);
  Check(!o.Sort || o.Sort->Column >= 0);
  Check(o.HasBoard == o.HasCount && (!o.HasCount || o.Count >= 1));
  return 0;
}
