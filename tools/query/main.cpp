// vormek-query: the timetable's queries on the command line.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "asked_timetable.h"
#include "checked_output.h"
#include "cli_commands.h"
#include "cli_options.h"
#include "cli_text.h"
#include "data/errors.h"
#include "data/file_size_limit.h"
#include "data/timetable.h"
#include "station_arguments.h"
#ifdef VORMEK_HAVE_EMBEDDED
#include "data/embedded_items.h"
#endif

int main(int argc, char** argv) {
  using namespace vormek;
  using namespace vormek::cli;
  std::ios::sync_with_stdio(false);
  LetWritesFailPastTheFileSizeLimit();
  const std::vector<std::string> args(argv + 1, argv + argc);
  const TParseResult parsed = ParseCommandLine(args);
  const TOptions& o = parsed.Options;
  const TTextCodec codec(o.Gbk);
  if (o.Help) {
    std::cout << codec.Output(HelpText());
    return CheckedStatus(std::cout, std::cerr, ExitOk);
  }
  if (o.Version) {
    std::cout << "vormek-query 2012.05.05\n";
    return CheckedStatus(std::cout, std::cerr, ExitOk);
  }
  if (!parsed.Error.empty()) {
    std::cerr << "vormek-query: " << parsed.Error << '\n' << UsageText();
    return ExitUsage;
  }
  TTimetable timetable;
  const TItemSet* items = nullptr;
#ifdef VORMEK_HAVE_EMBEDDED
  items = &EmbeddedItems();
#endif
  if (const int status = LoadAskedTimetable(o.TablesDir, o.NoCache, codec, std::cerr, timetable); status != ExitOk)
    return status;
  TOptions resolved = o;
  const auto loadSpellings = [&] { return LoadSpellings(o.TablesDir, items); };
  try {
    if (o.Command == TCommand::Stations)
      return CheckedStatus(std::cout, std::cerr, ListStations(o, timetable, loadSpellings, codec, std::cout));
    ResolveStationArguments(resolved, timetable, loadSpellings, codec, std::cerr);
  } catch (const std::exception& e) {
    // The spellings did not load. The reason may quote table text, which is GBK.
    std::cerr << "vormek-query: cannot read the timetable: " << codec.Output(e.what()) << '\n';
    return ExitNoData;
  }
  int status = ExitOk;
  try {
    status = RunCommand(resolved, timetable, codec, std::cout, std::cerr);
  } catch (const EVormekError& e) {
    std::cerr << "vormek-query: " << codec.Output(e.what()) << '\n';
    return ExitNoData;
  }
  if (status == ExitUsage) std::cerr << "vormek-query: column out of range\n" << UsageText();
  status = CheckedStatus(std::cout, std::cerr, status);
  // The tables go back with the process: freeing them piece by piece first
  // only delays the exit.
  std::_Exit(status);
}
