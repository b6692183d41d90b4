#include "query/result_filter.h"

#include <gtest/gtest.h>

namespace vormek {
namespace {

TPub_GridResult Row(const char* id, const char* start, const char* end, const char* fz, const char* dz) {
  TPub_GridResult r;
  r.ID = id;
  r.StartStation = start;
  r.EndStation = end;
  r.FZ.Station = fz;
  r.DZ.Station = dz;
  return r;
}

// Which of the rows pass, as a string of their numbers.
std::string Passing(const std::vector<TPub_GridResult>& rows, const TFilterContext& f) {
  std::string out;
  for (std::size_t i = 0; i < rows.size(); ++i)
    if (PassesFilters(rows[i], f)) out += std::to_string(i);
  return out;
}

const std::vector<TPub_GridResult> kDirect = {
    Row("T1", "北京西", "上海", "北京西", "上海"),        // 0 starts where boarded, ends where alighted
    Row("D2", "天津", "上海虹桥", "北京南", "上海虹桥"),  // 1 passes through at boarding
    Row("G3", "北京", "杭州", "北京", "上海"),            // 2 exact names, runs on
    Row("d4", "北京", "上海", "北京", "上海"),            // 3 lower-case d
};

TEST(ResultFilter, UncheckedBoxesPassEverything) {
  TFilterContext f;
  f.QueryMode = TQueryMode::Direct;
  EXPECT_EQ(Passing(kDirect, f), "0123");
}

TEST(ResultFilter, StationToStation) {
  TFilterContext f;
  f.QueryMode = TQueryMode::Direct;
  f.EnteredFrom = "北京";
  f.EnteredTo = "上海";
  f.Boxes.CBSF = true;
  EXPECT_EQ(Passing(kDirect, f), "023");
  f.Boxes = {};
  f.Boxes.CBZD = true;
  EXPECT_EQ(Passing(kDirect, f), "013");
  f.Boxes = {};
  f.Boxes.CBJQ = true;
  EXPECT_EQ(Passing(kDirect, f), "23");
  f.Boxes = {};
  f.Boxes.CBDC = true;
  EXPECT_EQ(Passing(kDirect, f), "12");
  f.Boxes.CBSF = true;
  EXPECT_EQ(Passing(kDirect, f), "2");
}

TEST(ResultFilter, TransferLegsJudgeEachLegAtItsOwnEnd) {
  const std::vector<TPub_GridResult> legs = {
      Row("K1", "北京", "西安", "北京", "郑州"),    // 0 first leg, starts here
      Row("K2", "天津", "西安", "北京", "郑州"),    // 1 first leg, passes
      Row("K3", "郑州", "上海", "郑州", "上海"),    // 2 second leg, ends here
      Row("K4", "西安", "宁波", "郑州", "上海南"),  // 3 second leg, runs on
  };
  TFilterContext f;
  f.QueryMode = TQueryMode::Direct;
  f.EnteredFrom = "北京";
  f.EnteredTo = "上海";
  f.TransferStation = "郑州";
  f.Boxes.CBSF = true;
  EXPECT_EQ(Passing(legs, f), "023");
  f.Boxes = {};
  f.Boxes.CBZD = true;
  EXPECT_EQ(Passing(legs, f), "012");
  f.Boxes = {};
  f.Boxes.CBJQ = true;
  EXPECT_EQ(Passing(legs, f), "012");
}

TEST(ResultFilter, TrainNumberModeOnlyHonoursMultipleUnits) {
  TFilterContext f;
  f.QueryMode = TQueryMode::TrainNumber;
  f.Boxes = {true, true, true, false};
  EXPECT_EQ(Passing(kDirect, f), "0123");
  f.Boxes.CBDC = true;
  EXPECT_EQ(Passing(kDirect, f), "12");
}

TEST(ResultFilter, StationModeReadsTheBoxAsItIsNow) {
  const std::vector<TPub_GridResult> rows = {
      Row("T1", "北京", "上海", "北京", "上海"),      // 0 starts at 北京
      Row("T2", "北京西", "北京", "北京西", "北京"),  // 1 ends at 北京
      Row("T3", "天津", "上海", "北京南", "上海"),    // 2 passes 北京南
  };
  TFilterContext f;
  f.QueryMode = TQueryMode::Station;
  f.StationBox = "北京";
  f.Boxes.CBSF = true;
  EXPECT_EQ(Passing(rows, f), "0");
  f.StationBox = " 北京西 ";  // edited since the query
  EXPECT_EQ(Passing(rows, f), "1");
  f.StationBox = "北京";
  f.Boxes = {};
  f.Boxes.CBZD = true;
  EXPECT_EQ(Passing(rows, f), "1");
  f.Boxes = {};
  f.Boxes.CBJQ = true;
  EXPECT_EQ(Passing(rows, f), "01");
}

}  // namespace
}  // namespace vormek
