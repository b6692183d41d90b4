#pragma once
// Standard output checked before the exit: lines lost to a full disk, a
// closed descriptor or a broken file are a failure, never a quiet success.
#include <iosfwd>

namespace vormek::cli {

// Flushes out; when it has failed (now or at any earlier write) says so on
// err and returns ExitIoError, else returns status unchanged.
int CheckedStatus(std::ostream& out, std::ostream& err, int status);

}  // namespace vormek::cli
