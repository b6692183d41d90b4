#include "replaced_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vormek::cli {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    bytes.remove_prefix(std::size_t(n));
  }
  return true;
}

bool Fail(std::string& error, int reason) {
  error = std::strerror(reason);
  return false;
}

bool WriteInPlace(const std::string& path, std::string_view bytes, std::string& error) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return Fail(error, errno);
  const bool written = WriteAll(fd, bytes);
  const int reason = errno;
  if (::close(fd) != 0 && written) return Fail(error, errno);
  return written || Fail(error, reason);
}

// The file a symbolic link leads to is the one replaced, not the link.
std::string FinalTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  return resolved != nullptr ? std::string(resolved.get()) : path;
}

}  // namespace

bool ReplaceFile(const std::string& path, std::string_view bytes, std::string& error) {
  if (path == "-") return WriteAll(STDOUT_FILENO, bytes) || Fail(error, errno);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return Fail(error, EISDIR);
    return WriteInPlace(path, bytes, error);
  }
  const std::string target = FinalTarget(path);
  std::string part = target + ".XXXXXX.part";
  const int fd = ::mkostemps(part.data(), 5, O_CLOEXEC);
  if (fd < 0) return Fail(error, errno);
  // mkostemps makes the file private; the picture is as readable as any
  // file the user makes.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  // On disk before the rename, so that a crash cannot leave an empty file
  // under the name.
  bool ok = ::fchmod(fd, 0666 & ~mask) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int reason = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    reason = errno;
  }
  if (ok && ::rename(part.c_str(), target.c_str()) != 0) {
    ok = false;
    reason = errno;
  }
  if (ok) return true;
  ::unlink(part.c_str());
  return Fail(error, reason);
}

}  // namespace vormek::cli
