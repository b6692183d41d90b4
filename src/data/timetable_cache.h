#pragma once
// A folder's timetable kept as a timetable image in a cache folder. The first
// load reads and checks the folder's files and writes the image; a later load
// maps the image instead, as long as the files are the very ones it was made
// from (same device, inode, size, modification and change times). A cache
// that is missing, stale, damaged or cannot be written is passed over, never
// trusted: the files are read then.
#include <filesystem>
#include <string>
#include <vector>

#include "data/timetable.h"

namespace vormek {

// The image of one folder's tables in a cache folder. The stamp of the
// folder's files is taken when this is made, before any of them is read:
// should a file change while it is read, the image carries the older stamp
// and is made again next time.
class TKeptImage {
 public:
  // files are the names of the folder's files the tables are made from. An
  // empty cacheDir keeps nothing.
  TKeptImage(const std::filesystem::path& dir, const std::filesystem::path& cacheDir,
             const std::vector<std::string>& files);
  // Whether there is an image of the folder to try.
  bool Present() const;
  // The kept image of these very files; false (the timetable untouched, why
  // saying why) when there is none, or it is stale or damaged.
  bool Open(TTimetable& timetable, std::string* why = nullptr) const;
  // Where the image is; empty when nothing is kept.
  const std::filesystem::path& Image() const { return image_; }
  // Keeps the image of the tables just read from the folder's texts; false
  // when nothing was written (a file changed a moment ago, or the cache
  // cannot be written).
  bool Keep(const TTimetable& timetable) const;

 private:
  std::filesystem::path image_;  // empty: nothing is kept
  std::string stamp_;
  bool settled_ = false;
};

// Where images of folders are kept: $XDG_CACHE_HOME/vormek, else
// $HOME/.cache/vormek; empty when neither is set.
std::filesystem::path DefaultTimetableCacheDir();

}  // namespace vormek
