#pragma once
// Where a timetable comes from. Each format the program reads is one
// TTimetableSource: a folder of table texts, the items built into the
// program, a timetable image. The window and the command line load through
// the functions at the end, so that both take the same folders, with the same
// checks and the same messages.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "data/item_set.h"
#include "data/timetable.h"
#include "data/timetable_cache.h"

namespace vormek {

// A timetable, or why there is none: the file (or item) at fault and the
// reason, as ETimetableSourceError carries them.
class TTimetableLoad {
 public:
  TTimetableLoad(TTimetable timetable) : result_(std::move(timetable)) {}
  TTimetableLoad(ETimetableSourceError error) : result_(std::move(error)) {}

  bool Ok() const { return std::holds_alternative<TTimetable>(result_); }
  TTimetable& Timetable() { return std::get<TTimetable>(result_); }
  const ETimetableSourceError& Error() const { return std::get<ETimetableSourceError>(result_); }
  // The timetable; throws the error when there is none.
  TTimetable Take() &&;

 private:
  std::variant<TTimetable, ETimetableSourceError> result_;
};

class TTimetableSource {
 public:
  virtual ~TTimetableSource() = default;
  // What it reads, for the log: "table texts", "built-in items", ...
  virtual std::string_view Name() const = 0;
  // Whether this source reads dir; the empty path stands for the timetable
  // built into the program.
  virtual bool Applicable(const std::filesystem::path& dir) const = 0;
  // The timetable of dir, built apart: nothing the caller holds changes. An
  // error names the file at fault.
  virtual TTimetableLoad Load(const std::filesystem::path& dir) const = 0;
  // The files of dir the timetable is made from, so that an image kept of it
  // serves exactly while they stay the same. Empty for a source of no folder.
  virtual std::vector<std::string> Files() const { return {}; }
};

// The timetable of the first source that is applicable to dir and loads; when
// none loads, the error of the last one tried.
TTimetableLoad LoadFromFirst(std::span<const TTimetableSource* const> sources, const std::filesystem::path& dir);

// The formats a timetable folder may hold, in the order they are tried.
std::span<const TTimetableSource* const> FolderFormats();

// How a folder's timetable came to be.
enum class TCacheUse {
  Opened,      // the folder's kept image was opened
  Written,     // the files were read and an image written for next time
  Passed,      // the files were read; no image was written (no cache folder, a
               // file changed a moment ago, or the cache could not be written)
  Distrusted,  // the files were read; the cache folder belongs to another
               // user or others may write it, so it was neither read nor written
};

// A folder's timetable: the image kept of it in cacheDir while the folder's
// files are those it was made from, else the files read in the first format
// that applies (and their image kept for next time). An empty cacheDir keeps
// nothing. use, when given, says which; distrust, when given, says why a
// cache folder was distrusted (empty otherwise), for the user to hear once.
TTimetableLoad LoadTimetableFolder(const std::filesystem::path& dir, const std::filesystem::path& cacheDir,
                                   TCacheUse* use = nullptr, TImageHold hold = TImageHold::Map,
                                   std::string* distrust = nullptr);

// The timetable built into a program: its image when the build placed one
// there (empty: none), else its items.
TTimetableLoad LoadBuiltInTimetable(const TItemSet& items, std::span<const std::byte> image = {});

}  // namespace vormek
