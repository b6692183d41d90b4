#pragma once
// The timetable a command asks for: a folder's (through its kept image unless
// told not to) or the one built into the program.
#include <string>

#include "data/timetable.h"

namespace vormek::cli {

// False when no folder is named and this build carries no timetable. Throws
// what the loaders throw.
bool LoadAskedTimetable(const std::string& dir, bool noCache, TTimetable& timetable);

}  // namespace vormek::cli
