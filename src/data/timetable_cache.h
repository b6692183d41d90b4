#pragma once
// A folder's timetable kept as a timetable image in a cache folder. The first
// load reads and checks the four texts as LoadTimetableFromDirectory does and
// writes the image; a later load maps the image instead, as long as the four
// files are the very ones it was made from (same device, inode, size,
// modification and change times). A cache that is missing, stale, damaged or
// cannot be written is passed over, never trusted: the texts are read then.
#include <filesystem>
#include <string>

#include "data/timetable.h"

namespace vormek {

// The image of one folder's tables in a cache folder. The stamp of the four
// files is taken when this is made, before any text is read: should a file
// change while it is read, the image carries the older stamp and is made
// again next time.
class TKeptImage {
 public:
  // An empty cacheDir keeps nothing.
  TKeptImage(const std::filesystem::path& dir, const std::filesystem::path& cacheDir);
  // The kept image of these very files; false (the timetable untouched) when
  // there is none, or it is stale or damaged.
  bool Open(TTimetable& timetable) const;
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

enum class TCacheUse {
  Opened,   // the folder's image was mapped
  Written,  // the texts were read and their image written for next time
  Passed,   // the texts were read; no image was written (no cache folder, a
            // file changed a moment ago, or the cache could not be written)
};

// The folder's timetable, as LoadTimetableFromDirectory loads it and with its
// errors, through an image in cacheDir (none when cacheDir is empty).
TCacheUse LoadTimetableFromDirectoryCached(const std::filesystem::path& dir, const std::filesystem::path& cacheDir,
                                           TTimetable& timetable);

}  // namespace vormek
