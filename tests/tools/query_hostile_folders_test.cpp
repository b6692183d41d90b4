// Hostile timetable folders: a sound folder with one file damaged in one way
// each. The window's loader and vormek-query refuse every one of them, both
// naming the damaged file and saying the same reason.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "data/timetable_source.h"
#include "query_tool_runner.h"
#include "support/table_text.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using testing::Row;

std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// The sound folder's four texts (this file's literals are GBK).
struct TTexts {
  std::string spy = testing::PinyinTablePreamble() + Row({"北京", "BJP"}) + Row({"天津", "TJP"});
  std::string slist = testing::TrainListPreamble() +
                      Row({"D1", "1", "北京", "天津", "08:00", "08:30", "30", "120", "54.5", "-", "-", "-"}) +
                      Row({"K2", "6", "天津", "北京", "09:00", "11:00", "2:0", "137", "-", "-", "20/22/24", "30"});
  std::string sm = testing::GroupTablePreamble() + Row({"北京", "1"}) + Row({"天津", "2"});
  std::string strain = testing::StopTablePreamble() + Row({"D1", "北京", "1", "", "08:00", "0", "0", "", "", "", ""}) +
                       Row({"D1", "天津", "2", "08:30", "", "30", "120", "54.5", "-", "-", "-"}) +
                       Row({"K2", "天津", "1", "", "09:00", "0", "0", "", "", "", ""}) +
                       Row({"K2", "北京", "2", "11:00", "", "2:0", "137", "-", "-", "20/22/24", "30"});
};

struct THostileCase {
  std::string name;
  std::string file;  // the file damaged
  std::function<void(const fs::path&)> damage;
};

void WriteText(const fs::path& path, const std::string& text) {
  fs::remove_all(path);
  std::ofstream(path, std::ios::binary) << text;
}

// The text of the table in file, changed by edit.
std::function<void(const fs::path&)> Edited(const std::string& file,
                                            const std::function<std::string(const std::string&)>& edit) {
  return [file, edit](const fs::path& dir) {
    const TTexts sound;
    const std::string& text = file == "SPY.txt"     ? sound.spy
                              : file == "SLIST.txt" ? sound.slist
                              : file == "SM.txt"    ? sound.sm
                                                    : sound.strain;
    WriteText(dir / file, edit(text));
  };
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at == std::string::npos) ADD_FAILURE() << "no " << from << " to replace";
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// The header row and the definitions only.
std::string NoRows(const std::string& text) {
  const std::string end = "\"@@TABLEDEF END@@\"\r\n";
  const std::size_t header = text.find("\r\n", text.find(end) + end.size());
  return text.substr(0, header + 2);
}

std::vector<THostileCase> HostileCases() {
  std::vector<THostileCase> cases;
  for (const std::string file : {"SPY.txt", "SLIST.txt", "SM.txt", "STRAIN.txt"}) {
    cases.push_back({"missing", file, [file](const fs::path& dir) { fs::remove(dir / file); }});
    cases.push_back({"a pipe", file, [file](const fs::path& dir) {
                       fs::remove(dir / file);
                       ::mkfifo((dir / file).c_str(), 0600);
                     }});
    cases.push_back({"a folder", file, [file](const fs::path& dir) {
                       fs::remove(dir / file);
                       fs::create_directory(dir / file);
                     }});
    cases.push_back({"empty", file, [file](const fs::path& dir) { WriteText(dir / file, ""); }});
    cases.push_back({"not a table text", file, [file](const fs::path& dir) { WriteText(dir / file, "PK\x03\x04"); }});
    cases.push_back({"another version", file,
                     Edited(file, [](const std::string& t) { return Replaced(t, "\"251\"", "\"252\""); })});
    cases.push_back({"no rows", file, Edited(file, NoRows)});
    cases.push_back({"a row cut short", file, Edited(file, [](const std::string& t) { return t + "\"X\",\r\n"; })});
    cases.push_back({"a value cut in the middle of a character", file,
                     Edited(file, [](const std::string& t) { return Replaced(t, "天津", "\xcc"); })});
    cases.push_back(
        {"a bare LF", file, Edited(file, [](const std::string& t) { return t.substr(0, t.size() - 2) + "\n"; })});
  }
  // A column the queries read, renamed in its definition and header.
  cases.push_back({"no Station column", "SPY.txt", Edited("SPY.txt", [](const std::string& t) {
                     return Replaced(Replaced(t, "Station=", "Name="), "\"Station\",\"Shortcode\"",
                                     "\"Name\",\"Shortcode\"");
                   })});
  cases.push_back({"no Gp column", "SM.txt", Edited("SM.txt", [](const std::string& t) {
                     return Replaced(Replaced(t, "Gp=", "Group="), "\"Station\",\"Gp\"", "\"Station\",\"Group\"");
                   })});
  cases.push_back({"no SIDNo index", "STRAIN.txt",
                   Edited("STRAIN.txt", [](const std::string& t) { return Replaced(t, "SIDNo=", "Stops="); })});
  // A unique index holding a key twice.
  cases.push_back({"a train twice", "SLIST.txt", Edited("SLIST.txt", [](const std::string& t) {
                     return t + Row({"K2", "6", "天津", "北京", "", "", "", "0", "", "", "", ""});
                   })});
  cases.push_back({"a station in two groups", "SM.txt", Edited("SM.txt", [](const std::string& t) {
                     return t + Row({"北京", "3"});
                   })});
  cases.push_back({"a stop twice", "STRAIN.txt", Edited("STRAIN.txt", [](const std::string& t) {
                     return t + Row({"K2", "北京", "2", "", "", "", "", "", "", "", ""});
                   })});
  // Numbers no timetable holds.
  cases.push_back({"a distance out of range", "SLIST.txt",
                   Edited("SLIST.txt", [](const std::string& t) { return Replaced(t, "\"120\"", "\"-35\""); })});
  cases.push_back({"a stop number out of range", "STRAIN.txt", Edited("STRAIN.txt", [](const std::string& t) {
                     return Replaced(t, "\"K2\",\"北京\",\"2\"", "\"K2\",\"北京\",\"1000\"");
                   })});
  cases.push_back({"an elapsed time that is none", "STRAIN.txt",
                   Edited("STRAIN.txt", [](const std::string& t) { return Replaced(t, "\"2:0\"", "\"ab:cd\""); })});
  cases.push_back({"a fare that is none", "STRAIN.txt",
                   Edited("STRAIN.txt", [](const std::string& t) { return Replaced(t, "\"20/22/24\"", "\"-9\""); })});
  cases.push_back({"distances falling", "STRAIN.txt", Edited("STRAIN.txt", [](const std::string& t) {
                     return Replaced(t, "\"08:00\",\"0\",\"0\"", "\"08:00\",\"0\",\"200\"");
                   })});
  return cases;
}

TEST(QueryHostileFolders, EveryRefusalNamesTheFileAndBothProgramsSayTheSame) {
  const fs::path dir = fs::path(::testing::TempDir()) / "vormek_hostile_folders_test";
  const fs::path cache = fs::path(::testing::TempDir()) / "vormek_hostile_folders_cache";
  fs::remove_all(cache);
  const auto writeSound = [&dir] {
    fs::remove_all(dir);
    fs::create_directories(dir);
    const TTexts sound;
    WriteText(dir / "SPY.txt", sound.spy);
    WriteText(dir / "SLIST.txt", sound.slist);
    WriteText(dir / "SM.txt", sound.sm);
    WriteText(dir / "STRAIN.txt", sound.strain);
  };
  writeSound();
  ASSERT_TRUE(LoadTimetableFolder(dir, {}).Ok()) << LoadTimetableFolder(dir, {}).Error().what();
  const testing::TQueryRun sound = testing::RunQueryTool({"--tables", dir.string(), "--no-cache", "cz", U8(u8"北京")});
  ASSERT_EQ(sound.status, 0) << sound.err;

  for (const THostileCase& c : HostileCases()) {
    SCOPED_TRACE(c.file + ", " + c.name);
    writeSound();
    c.damage(dir);
    const TTimetableLoad window = LoadTimetableFolder(dir, cache);
    ASSERT_FALSE(window.Ok()) << "taken by the window";
    EXPECT_EQ(window.Error().File(), c.file) << window.Error().what();
    EXPECT_FALSE(window.Error().Reason().empty());
    // The reason may quote the table's own bytes: compared as GBK.
    const testing::TQueryRun run = testing::RunQueryTool({"--tables", dir.string(), "--gbk", "cz", "北京"});
    EXPECT_EQ(run.status, 1) << "taken by vormek-query";
    EXPECT_TRUE(run.out.empty()) << run.out;
    EXPECT_EQ(run.err, "vormek-query: cannot read the timetable: " + std::string(window.Error().what()) + "\n");
  }
  fs::remove_all(dir);
  fs::remove_all(cache);
}

}  // namespace
}  // namespace vormek
