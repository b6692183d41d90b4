#include "data/timetable_image_source.h"

#include <string>

#include "data/errors.h"
#include "data/timetable_image.h"

namespace vormek {

bool TTimetableImageSource::Applicable(const std::filesystem::path& dir) const {
  if (kept_ != nullptr) return !dir.empty() && kept_->Present();
  return dir.empty() && !builtIn_.empty();
}

TTimetableLoad TTimetableImageSource::Load(const std::filesystem::path&) const {
  TTimetable timetable;
  if (kept_ != nullptr) {
    std::string why;
    if (!kept_->Open(timetable, &why)) return ETimetableSourceError(kept_->Image().string(), why);
    return timetable;
  }
  try {
    // The built-in tables as the build loaded and checked them: read where
    // they lie in the program instead of parsed again.
    OpenTimetableImage(builtIn_, nullptr, TImageChecksum::Skip, timetable);
  } catch (const EItemError& e) {
    return ETimetableSourceError("built-in image", e.what());
  }
  return timetable;
}

}  // namespace vormek
