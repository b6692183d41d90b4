#pragma once
// vormek-query graph FROM TO: the train graph of the trains zz FROM TO
// lists, written as SVG or PNG.
#include <iosfwd>

#include "cli_options.h"
#include "cli_text.h"
#include "data/timetable.h"

namespace vormek::cli {

int RunGraph(const TOptions& options, TTimetable& timetable, const TTextCodec& codec, std::ostream& err);

}  // namespace vormek::cli
