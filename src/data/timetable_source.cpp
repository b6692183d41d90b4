#include "data/timetable_source.h"

#include <optional>
#include <utility>

#include "data/item_set_source.h"
#include "data/table_text_folder.h"
#include "data/timetable_cache.h"
#include "data/timetable_image_source.h"

namespace vormek {

TTimetable TTimetableLoad::Take() && {
  if (!Ok()) throw Error();
  return std::move(Timetable());
}

TTimetableLoad LoadFromFirst(std::span<const TTimetableSource* const> sources, const std::filesystem::path& dir) {
  std::optional<TTimetableLoad> last;
  for (const TTimetableSource* source : sources) {
    if (!source->Applicable(dir)) continue;
    TTimetableLoad load = source->Load(dir);
    if (load.Ok()) return load;
    last = std::move(load);
  }
  if (last) return std::move(*last);
  return ETimetableSourceError(dir.empty() ? std::string("built-in timetable") : dir.string(),
                               dir.empty() ? "none in this program" : "not a timetable folder");
}

std::span<const TTimetableSource* const> FolderFormats() {
  // A new format goes before the table texts, which take any folder.
  static const TTableTextFolder tableTexts;
  static const TTimetableSource* const formats[] = {&tableTexts};
  return formats;
}

TTimetableLoad LoadTimetableFolder(const std::filesystem::path& dir, const std::filesystem::path& cacheDir,
                                   TCacheUse* use, TImageHold hold, std::string* distrust) {
  TCacheUse used = TCacheUse::Passed;
  const TTimetableSource* format = nullptr;
  for (const TTimetableSource* candidate : FolderFormats()) {
    if (candidate->Applicable(dir)) {
      format = candidate;
      break;
    }
  }
  if (format == nullptr) return LoadFromFirst({}, dir);
  // The stamp of the files is taken before any of them is read.
  const TKeptImage kept(dir, cacheDir, format->Files(), hold);
  if (distrust != nullptr) *distrust = kept.Distrust();
  if (!kept.Distrust().empty()) used = TCacheUse::Distrusted;
  const TTimetableImageSource image(kept);
  if (image.Applicable(dir)) {
    TTimetableLoad load = image.Load(dir);
    if (load.Ok()) {
      if (use != nullptr) *use = TCacheUse::Opened;
      return load;
    }
    // Stale, damaged or of another build: made again from the files.
  }
  TTimetableLoad load = format->Load(dir);
  if (load.Ok() && kept.Keep(load.Timetable())) used = TCacheUse::Written;
  if (use != nullptr) *use = used;
  return load;
}

TTimetableLoad LoadBuiltInTimetable(const TItemSet& items, std::span<const std::byte> image) {
  const TTimetableImageSource built(image);
  const TItemSetSource itemSet(items);
  const TTimetableSource* const sources[] = {&built, &itemSet};
  return LoadFromFirst(sources, {});
}

}  // namespace vormek
