#include "asked_timetable.h"

#include <filesystem>
#include <ostream>

#include "cli_commands.h"
#include "data/timetable_cache.h"
#include "data/timetable_source.h"
#ifdef VORMEK_HAVE_EMBEDDED
#include "data/embedded_image.h"
#include "data/embedded_items.h"
#endif

namespace vormek::cli {

namespace {

TTimetableLoad LoadBuiltIn() {
#ifdef VORMEK_HAVE_EMBEDDED
  return LoadBuiltInTimetable(EmbeddedItems(), EmbeddedTimetableImage());
#else
  return LoadFromFirst({}, {});
#endif
}

}  // namespace

int LoadAskedTimetable(const std::string& dir, bool noCache, const TTextCodec& codec, std::ostream& err,
                       TTimetable& timetable) {
  if (!dir.empty()) {
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
      err << "vormek-query: no folder " << Echo(dir, codec.Gbk()) << '\n';
      return ExitNoInput;
    }
  }
#ifndef VORMEK_HAVE_EMBEDDED
  if (dir.empty()) {
    err << "vormek-query: this build carries no timetable; use --tables DIR\n";
    return ExitNoData;
  }
#endif
  try {
    std::string distrust;
    TTimetableLoad load = dir.empty()
                              ? LoadBuiltIn()
                              : LoadTimetableFolder(dir, noCache ? std::filesystem::path() : DefaultTimetableCacheDir(),
                                                    nullptr, TImageHold::Map, &distrust);
    if (!distrust.empty()) err << "vormek-query: " << Echo(distrust, codec.Gbk()) << '\n';
    timetable = std::move(load).Take();
  } catch (const std::exception& e) {
    // The reason names the file at fault, and may quote its text, which is GBK.
    err << "vormek-query: cannot read the timetable: " << codec.Output(e.what()) << '\n';
    return ExitNoData;
  }
  return ExitOk;
}

}  // namespace vormek::cli
