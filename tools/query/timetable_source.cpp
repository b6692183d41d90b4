#include "timetable_source.h"

#include <filesystem>

#include "data/timetable_cache.h"
#ifdef VORMEK_HAVE_EMBEDDED
#include "data/embedded_image.h"
#include "data/embedded_items.h"
#include "data/timetable_image.h"
#endif

namespace vormek::cli {

bool LoadAskedTimetable(const std::string& dir, bool noCache, TTimetable& timetable) {
  if (!dir.empty()) {
    LoadTimetableFromDirectoryCached(dir, noCache ? std::filesystem::path() : DefaultTimetableCacheDir(), timetable);
    return true;
  }
#ifdef VORMEK_HAVE_EMBEDDED
  // The built-in tables as the build loaded and checked them: read where
  // they lie in the program instead of parsed again.
  if (EmbeddedTimetableImage().empty())
    LoadTimetable(EmbeddedItems(), timetable);
  else
    OpenTimetableImage(EmbeddedTimetableImage(), nullptr, TImageChecksum::Skip, timetable);
  return true;
#else
  return false;
#endif
}

}  // namespace vormek::cli
