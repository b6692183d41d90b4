#pragma once
// A file written whole or not at all.
#include <string>
#include <string_view>

namespace vormek::cli {

// A regular file (or a new one) is written beside under a name nobody can
// guess or take first and then renamed over the old one, so that a full
// disk or a killed process leaves the old file or none, never a part. A
// device, pipe or socket (/dev/stdout, a fifo) is written in place, as is
// standard output for "-". False
// and the reason (the system's, in English) when any write, the close or
// the rename fails.
bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace vormek::cli
