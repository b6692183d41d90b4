#pragma once
// A whole file written or not at all: the bytes go to a new file beside the
// target, which replaces the target only once every byte is on disk.
#include <string>
#include <string_view>

namespace vormek::cli {

// Empty on success, else why not (strerror's text). An existing file at
// path is untouched by a failed write. "-" writes to standard output.
std::string WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace vormek::cli
