#pragma once
// vormek-query plan FROM TO [--min-change MIN] [--max N]: the connections
// window's rows as comma-separated lines. Parsed on its own, ahead of the
// other commands, since its options belong to it alone.
#include <iosfwd>
#include <string>
#include <vector>

namespace vormek::cli {

// Whether the first word that is not an option (or an option's value) is "plan".
bool IsPlanCommand(const std::vector<std::string>& args);

// Parses, loads the timetable, prints the header and one line per
// connection. Returns the exit status of the other commands.
int RunPlanCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vormek::cli
