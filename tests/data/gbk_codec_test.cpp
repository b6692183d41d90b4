// Crossing between the tables' GBK bytes and UTF-8.
#include "data/gbk_codec.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vormek {
namespace {

// This file compiles its narrow literals to GBK; UTF-8 is spelled with u8.
std::string Utf8(const char8_t* text) { return std::string(reinterpret_cast<const char*>(text)); }

TEST(GbkCodec, RoundTripsStationNamesAndAscii) {
  for (const auto& [gbk, utf8] : {std::pair<std::string, std::string>{"北京西", Utf8(u8"北京西")},
                                  {"阿拉山口", Utf8(u8"阿拉山口")},
                                  {"硬卧上/中/下", Utf8(u8"硬卧上/中/下")},
                                  {"维墨克时刻表", Utf8(u8"维墨克时刻表")},
                                  {"K1002/K1003", "K1002/K1003"},
                                  {"", ""}}) {
    EXPECT_EQ(GbkToUtf8(gbk), utf8);
    ASSERT_TRUE(Utf8ToGbk(utf8).has_value()) << utf8;
    EXPECT_EQ(*Utf8ToGbk(utf8), gbk);
    EXPECT_TRUE(IsWholeGbk(gbk));
  }
  EXPECT_EQ(std::string("北京").size(), 4u);
}

TEST(GbkCodec, InvalidGbkBecomesReplacementCharacters) {
  const std::string fffd = Utf8(u8"\uFFFD");
  const std::string bj = "北京";
  EXPECT_EQ(GbkToUtf8(bj.substr(0, 3)), Utf8(u8"北") + fffd);  // lead byte cut off
  EXPECT_EQ(GbkToUtf8("\x80"
                      "A"),
            fffd + "A");
  EXPECT_EQ(GbkToUtf8("A\xFF"
                      "B"),
            "A" + fffd + "B");
  EXPECT_EQ(GbkToUtf8("\xB1\x30"), fffd + "0");  // not a trail byte
  EXPECT_EQ(GbkToUtf8("\xB1\x7F" + bj), fffd + "\x7F" + Utf8(u8"北京"));
}

TEST(GbkCodec, EveryDoubleByteCharacterRoundTrips) {
  const std::string fffd = Utf8(u8"\uFFFD");
  int mapped = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::string utf8 = GbkToUtf8(pair);
      if (utf8 == fffd) continue;  // a pair with no character assigned
      ++mapped;
      const std::optional<std::string> back = Utf8ToGbk(utf8);
      ASSERT_TRUE(back.has_value()) << std::hex << lead << trail;
      EXPECT_EQ(*back, pair) << std::hex << lead << trail;
    }
  }
  // Code page 936 assigns 21,791 double-byte characters.
  EXPECT_GE(mapped, 21791);
}

TEST(GbkCodec, Utf8ThatGbkCannotHoldGivesNothing) {
  EXPECT_FALSE(Utf8ToGbk(Utf8(u8"北京\U0001F684")).has_value());  // a train emoji
  EXPECT_FALSE(Utf8ToGbk(Utf8(u8"\u0E01")).has_value());          // Thai
  EXPECT_FALSE(Utf8ToGbk("\xC3").has_value());                    // cut sequence
  EXPECT_FALSE(Utf8ToGbk("\xC0\xAF").has_value());                // overlong "/"
  EXPECT_FALSE(Utf8ToGbk("\xED\xA0\x80").has_value());            // surrogate
  EXPECT_FALSE(Utf8ToGbk("abc\xFF").has_value());
  EXPECT_TRUE(Utf8ToGbk(Utf8(u8"\u00B7")).has_value());  // middle dot is in GBK
}

TEST(GbkCodec, WholeGbkCharacters) {
  const std::string bj = "北京";
  EXPECT_TRUE(IsWholeGbk(""));
  EXPECT_TRUE(IsWholeGbk("abc,\"\r\n"));
  EXPECT_TRUE(IsWholeGbk("\x81\x40\xFE\xFE"));
  EXPECT_FALSE(IsWholeGbk(bj.substr(0, 3)));
  EXPECT_FALSE(IsWholeGbk(bj.substr(1)));  // starts on a trail byte and so ends cut
  EXPECT_FALSE(IsWholeGbk("\x80"));
  EXPECT_FALSE(IsWholeGbk("\xFF\xA1"));
  EXPECT_FALSE(IsWholeGbk("\xB1\x7F"));
  EXPECT_FALSE(IsWholeGbk("\xB1\x22"));
}

}  // namespace
}  // namespace vormek
