#include "query/input_checks.h"

#include <gtest/gtest.h>

#include "timetable_fixture.h"

namespace vormek {
namespace {

class InputChecksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fixture::Tables t;
    t.pinyin = {{"北京", "BJ"}, {"上海", "SH"}, {"宝鸡", "BJ"}};
    fixture::Load(t, tt_);
  }
  // "message|caption|box" or "ok".
  static std::string Say(const std::optional<TInputRefusal>& r) {
    if (!r) return "ok";
    return r->Message + "|" + r->Caption + "|" + std::to_string(static_cast<int>(r->Box));
  }
  std::string Direct(std::string_view from, std::string_view to) { return Say(CheckDirectInput(tt_.KMPy, from, to)); }
  std::string Station(std::string_view s) { return Say(CheckStationInput(tt_.KMPy, s)); }
  TTimetable tt_;
};

const std::string kFZ = std::to_string(static_cast<int>(TInputBox::ComboFZ));
const std::string kDZ = std::to_string(static_cast<int>(TInputBox::ComboDZ));
const std::string kCZ = std::to_string(static_cast<int>(TInputBox::ComboCZ));

TEST_F(InputChecksTest, DirectChecksInTheirOrder) {
  EXPECT_EQ(Direct("北京", "上海"), "ok");
  EXPECT_EQ(Direct("", "上海"), "请输入发站。|信息不完整|" + kFZ);
  EXPECT_EQ(Direct("BJ", ""), "请输入发站。|信息不完整|" + kFZ);
  EXPECT_EQ(Direct("北京", "sh"), "请输入到站。|信息不完整|" + kDZ);
  // Equal names are refused before they are looked up.
  EXPECT_EQ(Direct("松桃", "松桃"), "发站与到站相同。|输入错误|" + kDZ);
  EXPECT_EQ(Direct("松桃", "上海"), "发站不存在。|输入错误|" + kFZ);
  EXPECT_EQ(Direct("北京", "北京 西"), "到站不存在。|输入错误|" + kDZ);
  EXPECT_EQ(Direct(" 北京\t", "上海 "), "ok");
}

TEST_F(InputChecksTest, TrainNumberAndStation) {
  EXPECT_EQ(Say(CheckTrainNumberInput("  ")),
            "请输入车次。|信息不完整|" + std::to_string(static_cast<int>(TInputBox::ECC)));
  EXPECT_EQ(Say(CheckTrainNumberInput("1043")), "ok");
  EXPECT_EQ(Station("BJ"), "请输入车站。|信息不完整|" + kCZ);
  EXPECT_EQ(Station(""), "请输入车站。|信息不完整|" + kCZ);
  EXPECT_EQ(Station("宝鸡"), "ok");
  EXPECT_EQ(Station("宝"), "车站不存在。|输入错误|" + kCZ);
}

TEST_F(InputChecksTest, AnythingPastedEndsInARefusal) {
  const std::string paste(10000, '\xb1');
  const std::string controls("\x01\x02\x03", 3);
  const std::string invalid("\xff\xfe\x80", 3);
  for (const std::string& junk : {paste, controls, invalid, std::string("12345"), std::string("北京\n上海"),
                                  std::string("\x81", 1), std::string(10000, 'a') + "1"}) {
    EXPECT_NE(Direct(junk, "上海"), "ok");
    EXPECT_NE(Direct("上海", junk), "ok");
    EXPECT_NE(Station(junk), "ok");
  }
  EXPECT_EQ(Station(std::string(10000, 'q')), "请输入车站。|信息不完整|" + kCZ);
  EXPECT_EQ(Station("12345"), "车站不存在。|输入错误|" + kCZ);
}

TEST(InputChecksEmptyTables, RefuseInsteadOfFailing) {
  TTimetable tt;
  EXPECT_TRUE(CheckStationInput(tt.KMPy, "北京").has_value());
  EXPECT_TRUE(CheckDirectInput(tt.KMPy, "北京", "上海").has_value());
}

}  // namespace
}  // namespace vormek
