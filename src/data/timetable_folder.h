#pragma once
// Another timetable from a folder of the four table texts, for opening while
// the program runs. Each file goes through the same reader and index checks
// as the embedded items, and must carry the columns the queries read; the
// result is built apart, so a failure leaves the caller's tables untouched.
#include <filesystem>
#include <string>

#include "data/errors.h"
#include "data/timetable.h"

namespace vormek {

// Which file of the folder failed, and why.
class ETimetableFolderError : public EVormekError {
 public:
  ETimetableFolderError(std::string file, const std::string& reason)
      : EVormekError(file + ": " + reason), file_(std::move(file)), reason_(reason) {}
  const std::string& File() const { return file_; }
  const std::string& Reason() const { return reason_; }

 private:
  std::string file_;
  std::string reason_;
};

// SPY.txt, SLIST.txt, SM.txt and STRAIN.txt of the folder, in the loaders'
// order. Throws ETimetableFolderError naming the first file that fails. With
// a cache folder, the tables come from the image kept there while the files
// are those it was made from, and an image is kept of the tables read.
TTimetable LoadTimetableFolder(const std::filesystem::path& dir, const std::filesystem::path& cacheDir = {});

}  // namespace vormek
