// Damaged and hostile tables: refused with the line at fault, never costing
// more than twice their size, and table files checked before they are read.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/mem_table.h"
#include "data/table_text_folder.h"
#include "data/timetable.h"
#include "support/table_text.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using testing::ColumnDef;
using testing::IndexDef;
using testing::Preamble;
using testing::Row;

// A small timetable that loads; each case below changes one value of it.
struct TStop {
  std::string id, station, no, rdate, km, p1 = "-", p3 = "-";
};

std::string StopText(const std::vector<TStop>& stops) {
  std::string text = testing::StopTablePreamble();
  for (const TStop& s : stops) text += Row({s.id, s.station, s.no, "", "", s.rdate, s.km, s.p1, "", s.p3, ""});
  return text;
}

std::vector<TStop> SaneStops() {
  return {{"G1", "北京南", "1", "0", "0", "", ""},
          {"G1", "济南西", "2", "1:32", "406", "184.5", "-"},
          {"G1", "上海虹桥", "3", "9999:59", "20000", "100000", "1/2/3"},
          {"D2", "天津", "1", "0", "0", "", ""},
          {"D2", "天津西", "2", "45", "0", "5", "-"}};
}

std::string ListText(const std::string& distance, const std::string& rdate, const std::string& p2) {
  return testing::TrainListPreamble() + Row({"D2", "1", "天津", "天津西", "", "", "45", "0", "5", "", "", ""}) +
         Row({"G1", "2", "北京南", "上海虹桥", "", "", rdate, distance, "", p2, "", ""});
}

TTimetableTexts Texts(std::string slist, std::string strain) {
  TTimetableTexts texts;
  texts.SPY = testing::PinyinTablePreamble() + Row({"北京南", "BJN"});
  texts.SM = testing::GroupTablePreamble() + Row({"北京南", "1"});
  texts.SLIST = std::move(slist);
  texts.STRAIN = std::move(strain);
  return texts;
}

// The error of loading, empty when the timetable loads.
std::optional<ETimetableSourceError> LoadError(TTimetableTexts texts) {
  TTimetable t;
  try {
    LoadTimetableFromTexts(std::move(texts), t);
  } catch (const ETimetableSourceError& e) {
    EXPECT_EQ(t.KMTrain.RecordCount(), 0) << "a refused table is left empty";
    return e;
  }
  return std::nullopt;
}

TEST(TableLimits, AbsurdNumbersAreRefusedWithTheirLine) {
  ASSERT_FALSE(LoadError(Texts(ListText("20000", "9999:59", "100000"), StopText(SaneStops()))))
      << "the largest sane values load";
  // The stop table's rows start on line 20 (11 columns, 2 indexes), the
  // train list's on line 20 too (12 columns, 1 index); the changed row is
  // the second stop of G1, or G1 in the list.
  struct Case {
    const char* column;
    std::string value;
    bool inList;
  } cases[] = {
      {"S_No", "0", false},
      {"S_No", "1000", false},
      {"S_No", "2147483647", false},
      {"S_No", "", false},
      {"Distance", "-1", false},
      {"Distance", "20001", false},
      {"Distance", "2147483647", false},
      {"Distance", "407", false},  // more than the stop after it
      {"R_Date", "2147483647:59", false},
      {"R_Date", "10000:0", false},
      {"R_Date", "1:60", false},
      {"R_Date", "1:234", false},
      {"R_Date", "600000", false},
      {"R_Date", "abc", false},
      {"P1", "1e300", false},
      {"P1", "100001", false},
      {"P1", "-5", false},
      {"P3", "1/2/3/4", false},
      {"P3", "1//3", false},
      {"Distance", "20001", true},
      {"R_Date", "2147483647:59", true},
      {"P2", "1e300", true},
  };
  for (const Case& c : cases) {
    std::vector<TStop> stops = SaneStops();
    TStop& changed = stops[1];
    std::string list = ListText("1463", "4:48", "553");
    if (c.inList) {
      const std::string col = c.column;
      list = ListText(col == "Distance" ? c.value : "1463", col == "R_Date" ? c.value : "4:48",
                      col == "P2" ? c.value : "553");
    } else if (c.value == "407") {
      stops[2].km = "406";  // the third stop lies before the second
      stops[1].km = "407";
    } else {
      std::string& field = c.column == std::string("S_No")       ? changed.no
                           : c.column == std::string("Distance") ? changed.km
                           : c.column == std::string("R_Date")   ? changed.rdate
                           : c.column == std::string("P1")       ? changed.p1
                                                                 : changed.p3;
      field = c.value;
    }
    const auto error = LoadError(Texts(list, StopText(stops)));
    const std::string what = std::string(c.column) + "=" + c.value + (c.inList ? " in the list" : "");
    ASSERT_TRUE(error.has_value()) << what << " was accepted";
    const int line = c.value == "407" ? 22 : 21;
    EXPECT_EQ(error->Line(), line) << what << ": " << error->what();
    EXPECT_EQ(error->File(), c.inList ? "SLIST.txt" : "STRAIN.txt") << what;
    EXPECT_NE(std::string(error->what()).find(c.column), std::string::npos) << error->what();
  }
}

// Peak resident memory while fn runs, in bytes above what was resident
// before (0 when the kernel cannot reset the peak).
long PeakGrowth(const std::function<void()>& fn) {
  auto status = [](const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
      if (line.rfind(key, 0) == 0) return std::stol(line.substr(std::string(key).size())) * 1024;
    return 0L;
  };
  std::ofstream("/proc/self/clear_refs") << "5";
  const long before = status("VmRSS:");
  if (status("VmHWM:") > before + (1L << 20)) return fn(), 0;
  fn();
  return status("VmHWM:") - before;
}

bool UnderAddressSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
  return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return true;
#endif
#endif
  return false;
}

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  out.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(TableLimits, DamagedTablesCostAtMostTwiceTheirSize) {
  std::string manyColumns;
  for (int i = 0; i < 100000; ++i) manyColumns += ColumnDef("c" + std::to_string(i), "Integer", 0, 10);
  std::string manyIndexes;
  for (int i = 0; i < 50000; ++i) manyIndexes += IndexDef("i" + std::to_string(i), "a", false);
  std::string wideHeader;
  std::string wideColumns;
  for (int i = 0; i < 200; ++i) wideColumns += ColumnDef("c" + std::to_string(i), "Integer", 0, 10);
  const std::string one = ColumnDef("a", "Integer", 0, 10);
  struct Case {
    const char* name;
    std::string text;
  } cases[] = {
      {"100,000 column definitions", Preamble(manyColumns, "")},
      {"50,000 index definitions", Preamble(one, manyIndexes) + Row({"a"})},
      {"an index of 10,000 columns", Preamble(one, IndexDef("i", Repeat("a;", 9999) + "a", false)) + Row({"a"})},
      {"200 columns and 10 million line ends", Preamble(wideColumns, "") + Repeat("\r\n", 10000000)},
      {"a row of 5 million fields", Preamble(one, "") + Row({"a"}) + Repeat("\"\",", 5000000) + "\r\n"},
  };
  for (Case& c : cases) {
    const std::size_t size = c.text.size();
    bool refused = false;
    const long growth = PeakGrowth([&] {
      TMemTable t;
      try {
        t.LoadFromOwnedText(std::move(c.text));
      } catch (const ETableFormatError&) {
        refused = true;
      }
    });
    EXPECT_TRUE(refused) << c.name;
    // Shadow memory and the freed-memory quarantine make the sanitizer's
    // numbers meaningless here.
    if (!UnderAddressSanitizer()) {
      EXPECT_LE(growth, static_cast<long>(2 * size)) << c.name;
    }
  }
}

// Writes a folder of the four files; STRAIN.txt is made by the caller.
fs::path TableFolder(const std::string& name) {
  const fs::path dir = fs::path(::testing::TempDir()) / name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  const TTimetableTexts texts = Texts(ListText("1463", "4:48", "553"), "");
  std::ofstream(dir / "SPY.txt", std::ios::binary) << texts.SPY;
  std::ofstream(dir / "SLIST.txt", std::ios::binary) << texts.SLIST;
  std::ofstream(dir / "SM.txt", std::ios::binary) << texts.SM;
  return dir;
}

// The message of loading the folder, run as an unprivileged user where this
// test runs as root (so that a file without read permission stays unread).
std::string LoadMessage(const fs::path& dir, bool unprivileged) {
  int fds[2];
  if (::pipe(fds) != 0) return "no pipe";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
    std::string message = "loaded";
    try {
      TTimetable t;
      LoadTimetableFromDirectory(dir, t);
    } catch (const std::exception& e) {
      message = e.what();
    }
    [[maybe_unused]] const ssize_t n = ::write(fds[1], message.data(), message.size());
    ::_exit(0);
  }
  ::close(fds[1]);
  std::string message;
  char buffer[512];
  ssize_t got;
  while ((got = ::read(fds[0], buffer, sizeof buffer)) > 0) message.append(buffer, static_cast<std::size_t>(got));
  ::close(fds[0]);
  ::waitpid(pid, nullptr, 0);
  return message;
}

TEST(TableLimits, TableFilesAreCheckedBeforeTheyAreRead) {
  struct Case {
    const char* name;
    std::function<void(const fs::path&)> make;
    const char* reason;
    bool unprivileged = false;
  } cases[] = {
      {"a 5 GB sparse file",
       [](const fs::path& p) {
         std::ofstream(p, std::ios::binary) << "\"@@FILE VERSION@@\",\"251\"\r\n";
         fs::resize_file(p, std::uintmax_t{5} << 30);
       },
       "more than a table text may have"},
      {"a pipe", [](const fs::path& p) { ::mkfifo(p.c_str(), 0600); }, "not a regular file"},
      {"a folder", [](const fs::path& p) { fs::create_directory(p); }, "not a regular file"},
      {"a file nobody may read",
       [](const fs::path& p) {
         std::ofstream(p, std::ios::binary) << "x";
         fs::permissions(p, fs::perms::none);
       },
       "Permission denied", true},
  };
  for (const Case& c : cases) {
    const fs::path dir = TableFolder("vormek_table_files_test");
    c.make(dir / "STRAIN.txt");
    const std::string message = LoadMessage(dir, c.unprivileged);
    EXPECT_NE(message.find("STRAIN.txt"), std::string::npos) << c.name << ": " << message;
    EXPECT_NE(message.find(c.reason), std::string::npos) << c.name << ": " << message;
    fs::remove_all(dir);
  }
}

}  // namespace
}  // namespace vormek
