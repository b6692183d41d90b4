#pragma once
// vormek-query journey FROM TO: journeys of up to three trains, one line per
// journey or, with --rides, one per train.
#include <iosfwd>

#include "cli_options.h"
#include "cli_text.h"
#include "data/timetable.h"
#include "row_writer.h"

namespace vormek::cli {

// Checks the stations as the direct query does, prints the header and the
// lines. Returns the exit status of the other commands.
int RunJourney(const TOptions& options, TTimetable& timetable, const TTextCodec& codec, TRowWriter& writer,
               std::ostream& err);

}  // namespace vormek::cli
