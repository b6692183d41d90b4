#include "data/file_size_limit.h"

#include <csignal>

namespace vormek {

void LetWritesFailPastTheFileSizeLimit() { std::signal(SIGXFSZ, SIG_IGN); }

}  // namespace vormek
