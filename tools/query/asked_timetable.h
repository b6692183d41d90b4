#pragma once
// The timetable a command asks for: a folder's (through its kept image unless
// told not to) or the one built into the program.
#include <iosfwd>
#include <string>

#include "cli_text.h"
#include "data/timetable.h"

namespace vormek::cli {

// Loads it and returns ExitOk; else says why on err and returns the exit
// status: ExitNoInput when the folder does not exist, ExitNoData when no
// folder is named and this build carries no timetable, or when the
// timetable does not load (the message names the file at fault).
int LoadAskedTimetable(const std::string& dir, bool noCache, const TTextCodec& codec, std::ostream& err,
                       TTimetable& timetable);

}  // namespace vormek::cli
