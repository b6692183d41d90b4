#pragma once
// A timetable image as a timetable source: the one built into a program (the
// timetable of the empty path), or the one kept of a folder in a cache folder.
#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

#include "data/timetable_cache.h"
#include "data/timetable_source.h"

namespace vormek {

class TTimetableImageSource : public TTimetableSource {
 public:
  // The image built into the program (empty: none); it is checked as an
  // image the build wrote, without its checksum.
  explicit TTimetableImageSource(std::span<const std::byte> builtIn) : builtIn_(builtIn) {}
  // The image kept of a folder, checked whole as any file on disk. kept
  // outlives this object.
  explicit TTimetableImageSource(const TKeptImage& kept) : kept_(&kept) {}

  std::string_view Name() const override { return "timetable image"; }
  bool Applicable(const std::filesystem::path& dir) const override;
  TTimetableLoad Load(const std::filesystem::path& dir) const override;

 private:
  std::span<const std::byte> builtIn_;
  const TKeptImage* kept_ = nullptr;
};

}  // namespace vormek
