#include "checked_output.h"

#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli_commands.h"

namespace vormek::cli {

int CheckedStatus(std::ostream& out, std::ostream& err, int status) {
  errno = 0;
  out.flush();
  if (out) return status;
  // errno is the flush's reason when the flush failed; a failure met earlier
  // may have left no reason behind.
  const int reason = errno;
  err << "vormek-query: cannot write the output";
  if (reason != 0) err << ": " << std::strerror(reason);
  err << '\n';
  return ExitIoError;
}

}  // namespace vormek::cli
