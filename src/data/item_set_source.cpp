#include "data/item_set_source.h"

namespace vormek {

TTimetableLoad TItemSetSource::Load(const std::filesystem::path&) const {
  TTimetable timetable;
  try {
    LoadTimetable(items_, timetable);
  } catch (const ETimetableSourceError& e) {
    return e;
  }
  return timetable;
}

}  // namespace vormek
