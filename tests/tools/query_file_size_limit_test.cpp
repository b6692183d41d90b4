// Under a file-size limit (ulimit -f, a service's limit) the query tool still
// answers: the image it would keep of a large folder cannot be written, so it
// is left out, and no part of it stays behind. SIGXFSZ must not kill it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "query_tool_runner.h"
#include "support/table_text.h"

namespace vormek {
namespace {

namespace fs = std::filesystem;
using testing::Row;

// The arguments as a terminal passes them (this file's plain literals are GBK,
// as the tables are).
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

constexpr rlim_t kLimit = rlim_t{64} << 10;

TEST(QueryFileSizeLimit, AnswersAndLeavesNoPartWhenTheImageCannotBeWritten) {
  const fs::path dir = fs::temp_directory_path() / ("vormek-fsize-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  // A folder whose image is far past the limit: three thousand trains
  // between two stations, and one between the two asked for.
  std::string stops = testing::StopTablePreamble() + Row({"D1", "北京", "1", "", "08:00", "0", "0", "", "", "", ""}) +
                      Row({"D1", "天津", "2", "08:30", "", "30", "120", "54.5", "-", "-", "-"});
  std::string list = testing::TrainListPreamble() +
                     Row({"D1", "1", "北京", "天津", "08:00", "08:30", "30", "120", "54.5", "-", "-", "-"});
  for (int train = 0; train < 3000; ++train) {
    const std::string id = "K" + std::to_string(train);
    stops += Row({id, "西安", "1", "", "06:00", "0", "0", "", "", "", ""}) +
             Row({id, "宝鸡", "2", "08:00", "", "2:0", "173", "27", "-", "63/66/69", "93/97"});
    list += Row({id, "6", "西安", "宝鸡", "06:00", "08:00", "2:0", "173", "27", "-", "63/66/69", "93/97"});
  }
  const std::string texts[][2] = {
      {"SPY.txt", testing::PinyinTablePreamble() + Row({"北京", "BJP"}) + Row({"天津", "TJP"})},
      {"SM.txt", testing::GroupTablePreamble() + Row({"北京", "1"}) + Row({"天津", "2"})},
      {"SLIST.txt", list},
      {"STRAIN.txt", stops}};
  // Written a minute ago and settled, so that the tool would keep an image.
  const struct timespec aMinuteAgo = {std::time(nullptr) - 60, 0};
  const struct timespec times[2] = {aMinuteAgo, aMinuteAgo};
  for (const auto& [name, text] : texts) {
    std::ofstream(dir / name, std::ios::binary) << text;
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir / name).c_str(), times, 0), 0);
  }
  ASSERT_GT(stops.size(), 4 * kLimit);
  ::sleep(2);

  rlimit before{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  const rlimit limited{kLimit, before.rlim_max};
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  const testing::TQueryRun run = testing::RunQueryTool({"--tables", dir.string(), "zz", U8(u8"北京"), U8(u8"天津")});
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &before), 0);

  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("D1"), std::string::npos) << run.out;
  // The cache folder the tool was given holds no part.
  const std::string key = "XDG_CACHE_HOME=";
  for (const std::string& e : testing::QueryToolEnvironment()) {
    if (e.rfind(key, 0) != 0) continue;
    const fs::path cache = fs::path(e.substr(key.size())) / "vormek";
    if (!fs::exists(cache)) continue;
    for (const auto& entry : fs::directory_iterator(cache))
      EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos) << entry.path();
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace vormek
