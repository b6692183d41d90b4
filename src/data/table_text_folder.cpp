#include "data/table_text_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <utility>

#include "data/errors.h"

namespace vormek {

namespace {

[[noreturn]] void CannotRead(const std::string& reason) { throw EItemError(reason); }

}  // namespace

std::string ReadTableText(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) CannotRead(errno == ENOENT ? "missing" : std::strerror(errno));
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  struct stat info {};
  if (::fstat(fd, &info) != 0) CannotRead(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) CannotRead("not a regular file");
  const auto size = static_cast<std::uint64_t>(info.st_size);
  if (size > kMaxTableTextBytes)
    CannotRead(std::to_string(size) + " bytes, more than a table text may have (" + std::to_string(kMaxTableTextBytes) +
               ")");
  std::string bytes(static_cast<std::size_t>(size), '\0');
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) CannotRead(std::strerror(errno));
    if (got == 0) break;  // shrank while read: the table text says what is missing
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

bool TTableTextFolder::Applicable(const std::filesystem::path& dir) const {
  std::error_code error;
  return std::filesystem::is_directory(dir, error);
}

std::vector<std::string> TTableTextFolder::Files() const {
  std::vector<std::string> files;
  for (const TTimetableTable& kind : kTimetableTables) files.emplace_back(kind.File);
  return files;
}

TTimetableLoad TTableTextFolder::Load(const std::filesystem::path& dir) const {
  // All four are read first, so that a missing file costs no parsing, and
  // every file that cannot be read is named, not only the first.
  std::string texts[kTimetableTables.size()];
  std::vector<TFileFailure> unread;
  for (std::size_t i = 0; i < kTimetableTables.size(); ++i) {
    const std::string_view file = kTimetableTables[i].File;
    try {
      texts[i] = ReadTableText(dir / file);
    } catch (const EItemError& e) {
      unread.push_back({std::string(file), e.what()});
    }
  }
  if (!unread.empty()) return ETimetableSourceError(std::move(unread));
  TTimetable timetable;
  try {
    LoadTimetableFromTexts({std::move(texts[0]), std::move(texts[1]), std::move(texts[2]), std::move(texts[3])},
                           timetable);
  } catch (const ETimetableSourceError& e) {
    return e;
  }
  return timetable;
}

void LoadTimetableFromDirectory(const std::filesystem::path& dir, TTimetable& timetable) {
  timetable = TTableTextFolder().Load(dir).Take();
}

}  // namespace vormek
