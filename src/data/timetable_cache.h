#pragma once
// A folder's timetable kept as a timetable image in a cache folder. The first
// load reads and checks the folder's files and writes the image; a later load
// maps the image instead, as long as the files are the very ones it was made
// from (same device, inode, size, modification and change times). A cache
// that is missing, stale, damaged or cannot be written is passed over, never
// trusted: the files are read then. So is a cache folder or image that another
// user owns or could write: a checksum guards against damage, not against an
// edit resealed on purpose.
#include <filesystem>
#include <string>
#include <vector>

#include "data/timetable.h"

namespace vormek {

// How an opened image is held. A long-lived program takes a copy of its own,
// so that another program truncating the file cannot pull the pages from
// under it (SIGBUS); a short-lived one may map the file.
enum class TImageHold { Map, Copy };

// The image of one folder's tables in a cache folder. The stamp of the
// folder's files is taken when this is made, before any of them is read:
// should a file change while it is read, the image carries the older stamp
// and is made again next time.
class TKeptImage {
 public:
  // files are the names of the folder's files the tables are made from. An
  // empty cacheDir keeps nothing.
  TKeptImage(const std::filesystem::path& dir, const std::filesystem::path& cacheDir,
             const std::vector<std::string>& files, TImageHold hold = TImageHold::Map);
  // Whether there is an image of the folder to try.
  bool Present() const;
  // The kept image of these very files; false (the timetable untouched, why
  // saying why) when there is none, or it is stale or damaged.
  bool Open(TTimetable& timetable, std::string* why = nullptr) const;
  // Where the image is; empty when nothing is kept.
  const std::filesystem::path& Image() const { return image_; }
  // Why the cache folder is not used at all (it belongs to another user, or
  // others may write it); empty when it is, or when there is none.
  const std::string& Distrust() const { return distrust_; }
  // Keeps the image of the tables just read from the folder's texts; false
  // when nothing was written (a file changed a moment ago, or the cache
  // cannot be written).
  bool Keep(const TTimetable& timetable) const;

 private:
  std::filesystem::path image_;  // empty: nothing is kept
  std::string stamp_;
  std::string distrust_;
  TImageHold hold_ = TImageHold::Map;
  bool settled_ = false;
};

// Where images of folders are kept: $XDG_CACHE_HOME/vormek, else
// $HOME/.cache/vormek; empty when neither is set.
std::filesystem::path DefaultTimetableCacheDir();

}  // namespace vormek
