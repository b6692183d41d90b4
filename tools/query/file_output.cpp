#include "file_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vormek::cli {

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string WriteWholeFile(const std::string& path, std::string_view bytes) {
  if (path == "-") {
    if (!WriteAll(STDOUT_FILENO, bytes)) return std::strerror(errno);
    return {};
  }
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::string part = folder + (slash == std::string::npos ? "/" : "") + ".vormek-XXXXXX.part";
  const int fd = ::mkostemps(part.data(), 5, O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  // mkostemps makes the file private; an export is as readable as any file
  // the user makes.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) ok = false, error = errno;
  if (ok && ::rename(part.c_str(), path.c_str()) != 0) ok = false, error = errno;
  if (!ok) {
    ::unlink(part.c_str());
    return std::strerror(error);
  }
  return {};
}

}  // namespace vormek::cli
