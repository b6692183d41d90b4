#include "data/timetable_cache.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "data/errors.h"
#include "data/timetable_image.h"

namespace vormek {

namespace {

// A file changed less than this long ago may change again within the same
// time stamp; its image is not written, so that a later change is never
// mistaken for the state the image holds.
constexpr std::time_t kSettleSeconds = 2;

// A cache folder keeps the images of this many folders, the most recently
// made, and no more bytes than this in all (the newest image always stays);
// older ones go when a new one is written.
constexpr std::size_t kKeptImages = 8;
constexpr std::uint64_t kKeptBytes = std::uint64_t{1} << 30;

// Images of tables far beyond any timetable are not mapped.
constexpr std::uint64_t kMaxImageBytes = std::uint64_t{4} << 30;

struct TStamp {
  std::string text;
  bool settled = true;
};

// What the image of the folder must have been made from; none when a file
// cannot be looked at (the load from the texts then says why).
std::optional<TStamp> StampOf(const std::filesystem::path& dir, const std::vector<std::string>& files) {
  std::error_code error;
  const std::filesystem::path canonical = std::filesystem::canonical(dir, error);
  if (error) return std::nullopt;
  TStamp stamp;
  stamp.text = "tables " + canonical.string() + "\n";
  const std::time_t now = std::time(nullptr);
  for (const std::string& name : files) {
    struct stat info {};
    if (::stat((canonical / name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    stamp.text += name + " " + std::to_string(info.st_dev) + " " + std::to_string(info.st_ino) + " " +
                  std::to_string(info.st_size) + " " + std::to_string(info.st_mtim.tv_sec) + "." +
                  std::to_string(info.st_mtim.tv_nsec) + " " + std::to_string(info.st_ctim.tv_sec) + "." +
                  std::to_string(info.st_ctim.tv_nsec) + "\n";
    if (now - info.st_mtim.tv_sec < kSettleSeconds || now - info.st_ctim.tv_sec < kSettleSeconds) stamp.settled = false;
  }
  return stamp;
}

// One image per folder, named by its path.
std::filesystem::path ImagePath(const std::filesystem::path& cacheDir, const std::string& stamp) {
  const std::string path = stamp.substr(0, stamp.find('\n'));
  std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
  for (const char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
  char name[40];
  std::snprintf(name, sizeof name, "tables-%016llx.image", static_cast<unsigned long long>(hash));
  return cacheDir / name;
}

// Why a cache folder or image is not to be trusted, as ssh judges its own
// files: it must belong to this user, and nobody else may write it. Empty
// when it may be used.
std::string Untrusted(const struct stat& info) {
  if (info.st_uid != ::geteuid()) return "belongs to another user";
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) return "may be written by other users";
  return {};
}

// All of [at, at + size) from the file; false on any failure or a file that
// ends early.
bool ReadAll(int fd, char* at, std::size_t size) {
  while (size > 0) {
    const ssize_t got = ::read(fd, at, size);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    at += got;
    size -= static_cast<std::size_t>(got);
  }
  return true;
}

// The image read-only in memory: the file mapped, or read into pages of the
// program's own; either is undone when the last table lets go.
std::optional<std::shared_ptr<const void>> HoldImage(const std::filesystem::path& path, TImageHold hold,
                                                     std::size_t& size, std::string& why) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) {
    why = "cannot be opened";
    return std::nullopt;
  }
  struct stat info {};
  const bool plain = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
                     static_cast<std::uint64_t>(info.st_size) <= kMaxImageBytes;
  why = plain ? Untrusted(info) : "is not a plain file of an image's size";
  void* at = MAP_FAILED;
  if (why.empty()) {
    size = static_cast<std::size_t>(info.st_size);
    if (hold == TImageHold::Map) {
      at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    } else {
      at = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
      if (at != MAP_FAILED && (!ReadAll(fd, static_cast<char*>(at), size) || ::mprotect(at, size, PROT_READ) != 0)) {
        ::munmap(at, size);
        at = MAP_FAILED;
      }
    }
    if (at == MAP_FAILED) why = "cannot be read";
  }
  ::close(fd);
  if (at == MAP_FAILED) return std::nullopt;
  return std::shared_ptr<const void>(at, [size](const void* p) { ::munmap(const_cast<void*>(p), size); });
}

bool OpenCached(const std::filesystem::path& image, const std::string& stamp, TImageHold hold, TTimetable& timetable,
                std::string& why) {
  std::size_t size = 0;
  const auto mapped = HoldImage(image, hold, size, why);
  if (!mapped) return false;
  const std::span<const std::byte> bytes(static_cast<const std::byte*>(mapped->get()), size);
  try {
    if (TimetableImageStamp(bytes) != stamp) {
      why = "made from other files";
      return false;
    }
    OpenTimetableImage(bytes, *mapped, TImageChecksum::Verify, timetable);
    return true;
  } catch (const EItemError& e) {
    why = e.what();  // damaged or of another build: made again from the files
    return false;
  }
}

// Only the newest kKeptImages images stay, within kKeptBytes; a part left
// by a writer that died goes once it is an hour old, and a part that is a
// link at once (no writer of ours makes one). An image still mapped by a
// running program stays readable to it: removing a name does not unmap a file.
void Prune(const std::filesystem::path& cacheDir) {
  struct TKept {
    std::int64_t made;
    std::uint64_t bytes;
    std::filesystem::path path;
  };
  std::error_code error;
  std::vector<TKept> images;
  const std::time_t anHourAgo = std::time(nullptr) - 3600;
  for (const auto& entry : std::filesystem::directory_iterator(cacheDir, error)) {
    const std::string name = entry.path().filename().string();
    struct stat info {};
    if (name.rfind("tables-", 0) != 0 || ::lstat(entry.path().c_str(), &info) != 0) continue;
    const bool part = name.size() > 5 && name.compare(name.size() - 5, 5, ".part") == 0;
    if (part && S_ISLNK(info.st_mode)) {
      std::filesystem::remove(entry.path(), error);
    } else if (!S_ISREG(info.st_mode)) {
      continue;
    } else if (part) {
      if (info.st_mtim.tv_sec < anHourAgo) std::filesystem::remove(entry.path(), error);
    } else if (name.size() > 6 && name.compare(name.size() - 6, 6, ".image") == 0) {
      images.push_back({std::int64_t{info.st_mtim.tv_sec} * 1000000000 + info.st_mtim.tv_nsec,
                        static_cast<std::uint64_t>(info.st_size), entry.path()});
    }
  }
  std::sort(images.begin(), images.end(), [](const TKept& x, const TKept& y) { return x.made > y.made; });
  std::uint64_t bytes = 0;
  for (std::size_t i = 0; i < images.size(); ++i) {
    bytes += images[i].bytes;
    if (i > 0 && (i >= kKeptImages || bytes > kKeptBytes)) std::filesystem::remove(images[i].path, error);
  }
}

// All of [data, data + size) to the file; false on any failure.
bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t wrote = ::write(fd, data, size);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    data += wrote;
    size -= static_cast<std::size_t>(wrote);
  }
  return true;
}

// The image goes to the file as it is made: small pieces gathered, the
// tables' arrays written straight from where they lie, the header last.
bool WriteImageFile(int fd, const std::string& stamp, const TTimetable& timetable) {
  constexpr std::size_t kGather = std::size_t{1} << 16;
  std::string gathered;
  bool ok = true;
  auto flush = [&] {
    ok = ok && WriteAll(fd, gathered.data(), gathered.size());
    gathered.clear();
  };
  const std::string header = WriteTimetableImage(timetable, stamp, [&](const char* data, std::size_t size) {
    if (size >= kGather) {
      flush();
      ok = ok && WriteAll(fd, data, size);
    } else {
      gathered.append(data, size);
      if (gathered.size() >= kGather) flush();
    }
  });
  flush();
  return ok && ::pwrite(fd, header.data(), header.size(), 0) == static_cast<ssize_t>(header.size());
}

// The cache folder, made for this user alone when it is not there yet; why
// it cannot be used when it cannot (empty when it can).
std::string MakeCacheDir(const std::filesystem::path& cacheDir) {
  std::error_code error;
  std::filesystem::create_directories(cacheDir.parent_path(), error);
  if (::mkdir(cacheDir.c_str(), 0700) != 0 && errno != EEXIST) return "cannot be made";
  struct stat info {};
  if (::lstat(cacheDir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return "is not a folder";
  return Untrusted(info);
}

// Written beside under a name nobody can guess or take first, then renamed
// into place, so that a reader sees the old image or the whole new one,
// never a part.
bool WriteCached(const std::filesystem::path& image, const std::string& stamp, const TTimetable& timetable) {
  if (!MakeCacheDir(image.parent_path()).empty()) return false;
  std::string part = image.string() + ".XXXXXX.part";
  const int fd = ::mkostemps(part.data(), 5, O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteImageFile(fd, stamp, timetable);
  if (::close(fd) == 0 && written && ::rename(part.c_str(), image.c_str()) == 0) {
    Prune(image.parent_path());
    return true;
  }
  ::unlink(part.c_str());
  return false;
}

}  // namespace

std::filesystem::path DefaultTimetableCacheDir() {
  const char* cache = std::getenv("XDG_CACHE_HOME");
  if (cache != nullptr && cache[0] == '/') return std::filesystem::path(cache) / "vormek";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::filesystem::path(home) / ".cache" / "vormek";
  return {};
}

TKeptImage::TKeptImage(const std::filesystem::path& dir, const std::filesystem::path& cacheDir,
                       const std::vector<std::string>& files, TImageHold hold)
    : hold_(hold) {
  if (cacheDir.empty()) return;
  // A folder another user made or may write is neither read nor written;
  // nor is anything else in its place (a link could lead anywhere).
  struct stat info {};
  if (::lstat(cacheDir.c_str(), &info) == 0) {
    if (!S_ISDIR(info.st_mode)) return;
    const std::string why = Untrusted(info);
    if (!why.empty()) {
      distrust_ = "cache folder " + cacheDir.string() + " " + why + "; not used";
      return;
    }
  }
  const std::optional<TStamp> stamp = StampOf(dir, files);
  if (!stamp) return;  // the load from the files says why
  stamp_ = stamp->text;
  settled_ = stamp->settled;
  image_ = ImagePath(cacheDir, stamp_);
}

bool TKeptImage::Present() const {
  struct stat info {};
  return !image_.empty() && ::lstat(image_.c_str(), &info) == 0;
}

bool TKeptImage::Open(TTimetable& timetable, std::string* why) const {
  std::string reason = "none kept";
  const bool opened = !image_.empty() && OpenCached(image_, stamp_, hold_, timetable, reason);
  if (!opened && why != nullptr) *why = reason;
  return opened;
}

bool TKeptImage::Keep(const TTimetable& timetable) const {
  return !image_.empty() && settled_ && WriteCached(image_, stamp_, timetable);
}

}  // namespace vormek
