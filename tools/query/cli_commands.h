#pragma once
// The commands of vormek-query on a loaded timetable. Each writes its lines
// (GBK, joined by ",", ending in LF) and returns the exit status.
#include <iosfwd>

#include "cli_options.h"
#include "cli_text.h"
#include "data/timetable.h"
#include "query/input_checks.h"
#include "query/result_filter.h"

namespace vormek::cli {

// 64, 66 and 74 as sysexits.h has them (EX_USAGE, EX_NOINPUT, EX_IOERR).
enum TExitStatus {
  ExitOk = 0,
  ExitNoData = 1,
  ExitRefused = 2,
  ExitNotListed = 3,
  ExitUsage = 64,
  ExitNoInput = 66,
  ExitIoError = 74
};

// Says the window's message for refused input, after the program's name,
// and returns ExitRefused.
int Refuse(const TInputRefusal& refusal, const TTextCodec& codec, std::ostream& err);

// The filter boxes --filter checks.
TFilterBoxes FilterBoxesOf(const TOptions& options);

int RunCommand(const TOptions& options, TTimetable& timetable, const TTextCodec& codec, std::ostream& out,
               std::ostream& err);

}  // namespace vormek::cli
