#pragma once
// vormek-query plan FROM TO: the connections window's rows, filtered by the
// boxes asked for and sorted by one column.
#include <iosfwd>

#include "cli_options.h"
#include "cli_text.h"
#include "data/timetable.h"
#include "row_writer.h"

namespace vormek::cli {

// Checks the input as the window does, prints the header and one line per
// connection. Returns the exit status of the other commands.
int RunPlan(const TOptions& options, TTimetable& timetable, const TTextCodec& codec, TRowWriter& writer,
            std::ostream& err);

}  // namespace vormek::cli
