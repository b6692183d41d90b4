#pragma once
// Both programs run under a file-size limit as well (ulimit -f, a service's
// limit): a write past it then fails with EFBIG, which every writer reports
// (a cache image is left unwritten, an export says so and keeps the old
// file), instead of SIGXFSZ killing the program.
namespace vormek {

void LetWritesFailPastTheFileSizeLimit();

}  // namespace vormek
