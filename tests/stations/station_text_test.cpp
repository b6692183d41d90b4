#include "stations/station_text.h"

#include <gtest/gtest.h>

namespace vormek {
namespace {

TEST(IsAllLetters, OnlyAsciiLettersCount) {
  EXPECT_TRUE(IsAllLetters("BJ"));
  EXPECT_TRUE(IsAllLetters("bjX"));
  EXPECT_FALSE(IsAllLetters(""));
  EXPECT_FALSE(IsAllLetters("K1"));
  EXPECT_FALSE(IsAllLetters("B J"));
  EXPECT_FALSE(IsAllLetters("BJ."));
  EXPECT_FALSE(IsAllLetters("北京"));
  EXPECT_FALSE(IsAllLetters("BJ北"));
}

TEST(TrimBlanksAndControls, RemovesOnlyTheEnds) {
  EXPECT_EQ(TrimBlanksAndControls("  BJ \t\r\n"), "BJ");
  EXPECT_EQ(TrimBlanksAndControls("\x01\x1f北京\x7f"), "北京");
  EXPECT_EQ(TrimBlanksAndControls("北 京"), "北 京");
  EXPECT_EQ(TrimBlanksAndControls(" \t "), "");
  EXPECT_EQ(TrimBlanksAndControls(""), "");
}

TEST(TrimBlanksAndControls, KeepsWholeDoubleByteCharacters) {
  // GBK trail bytes are 0x40 or above, never a control character.
  const std::string text = std::string("\x81\x40", 2) + " ";
  EXPECT_EQ(TrimBlanksAndControls(text), std::string("\x81\x40", 2));
}

TEST(UpperAscii, LeavesTrailBytesAlone) {
  EXPECT_EQ(UpperAscii("k1008"), "K1008");
  // 0x81 0x61 is one GBK character whose trail byte is the code of 'a'.
  EXPECT_EQ(UpperAscii(std::string("\x81\x61"
                                   "bj",
                                   4)),
            std::string("\x81\x61"
                        "BJ",
                        4));
}

}  // namespace
}  // namespace vormek
