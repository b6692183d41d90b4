// Items: look-up by name, the 4-byte length and one zlib stream.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/errors.h"
#include "data/inflate_item.h"
#include "data/item_set.h"
#include "support/item_packing.h"

namespace vormek {
namespace {

using testing::ItemWithLength;
using testing::PackItem;
using testing::ZlibStream;

std::string SampleText() {
  std::string text;
  for (int i = 0; i < 2000; ++i)
    text += "\"" + std::to_string(i * 7919 % 1000) + "\",\"K" + std::to_string(i) + "\",\r\n";
  return text;
}

TEST(ItemSet, FindsItemsWithoutRegardToLetterCase) {
  const std::vector<unsigned char> a = {1, 2, 3};
  const std::vector<unsigned char> b = {4};
  TItemSet items({{"STRAIN", a.data(), a.size()}, {"B1", b.data(), b.size()}});
  EXPECT_EQ(items.Open("STrain").size(), 3u);
  EXPECT_EQ(items.Open("strain").data(), a.data());
  EXPECT_EQ(items.Open("b1").data(), b.data());
  EXPECT_TRUE(items.Contains("sTrAiN"));
  EXPECT_FALSE(items.Contains("STRAI"));
  EXPECT_FALSE(items.Contains("STRAINS"));
  EXPECT_THROW(items.Open("SList"), EItemError);
  EXPECT_THROW(TItemSet().Open("SM"), EItemError);
}

TEST(InflateItem, GivesExactlyTheStoredContent) {
  const std::string text = SampleText();
  const std::vector<unsigned char> item = PackItem(text);
  ASSERT_EQ(item[4], 0x78);  // zlib header of the strongest level
  ASSERT_EQ(item[5], 0xDA);
  const std::string out = InflateItem(item);
  EXPECT_EQ(out.size(), text.size());
  EXPECT_EQ(out, text);
  EXPECT_EQ(InflateItem(PackItem("")), "");
}

TEST(DecompressItem, OpensByNameThenInflates) {
  const std::string text = SampleText();
  const std::vector<unsigned char> stored = PackItem(text);
  TItemSet items({{"SPY", stored.data(), stored.size()}});
  EXPECT_EQ(DecompressItem(items, "spy"), text);
  EXPECT_THROW(DecompressItem(items, "SM"), EItemError);
}

TEST(InflateItem, RefusesShortLengthPrefix) {
  for (std::size_t n = 0; n < 4; ++n) {
    const std::vector<unsigned char> item(n, 0);
    EXPECT_THROW(InflateItem(item), EItemError) << n << " bytes";
  }
}

TEST(InflateItem, RefusesLengthThatDisagreesWithTheStream) {
  const std::string text = SampleText();
  const std::vector<unsigned char> stream = ZlibStream(text);
  const auto n = static_cast<std::uint32_t>(text.size());
  EXPECT_THROW(InflateItem(ItemWithLength(n - 1, stream)), EItemError);  // stream gives more
  EXPECT_THROW(InflateItem(ItemWithLength(n + 1, stream)), EItemError);  // stream gives fewer
  EXPECT_THROW(InflateItem(ItemWithLength(0, stream)), EItemError);
  EXPECT_NO_THROW(InflateItem(ItemWithLength(n, stream)));
}

TEST(InflateItem, RefusesAbsurdLengthBeforeAllocating) {
  const std::vector<unsigned char> stream = ZlibStream("abc");
  // Beyond what deflate can reach from this many bytes, and beyond 1 GiB.
  EXPECT_THROW(InflateItem(ItemWithLength(0xFFFFFFFFu, stream)), EItemError);
  EXPECT_THROW(InflateItem(ItemWithLength(2'000'000u, stream)), EItemError);
  EXPECT_THROW(InflateItem(ItemWithLength(0x40000001u, std::vector<unsigned char>(2'000'000, 0))), EItemError);
  // A real 1000:1 stream is still accepted.
  const std::string zeros(1'000'000, '\0');
  EXPECT_EQ(InflateItem(PackItem(zeros)).size(), zeros.size());
}

TEST(InflateItem, TakesItemsFarBeyondTheNationalTimetable) {
  // 300 MiB: more than a stop table of 60 times the national 2019 one.
  const std::string big(300u << 20, 'x');
  const std::string out = InflateItem(PackItem(big, Z_BEST_SPEED));
  EXPECT_TRUE(out == big);
}

TEST(InflateItem, RefusesStreamThatDoesNotEndAtTheItemsEnd) {
  const std::string text = SampleText();
  std::vector<unsigned char> item = PackItem(text);
  item.push_back(0);
  EXPECT_THROW(InflateItem(item), EItemError);
  // Two streams back to back: the second is junk after the first.
  const std::vector<unsigned char> again = ZlibStream(text);
  std::vector<unsigned char> twice = PackItem(text);
  twice.insert(twice.end(), again.begin(), again.end());
  EXPECT_THROW(InflateItem(twice), EItemError);
}

TEST(InflateItem, RefusesTruncatedStreams) {
  const std::string text = SampleText();
  const std::vector<unsigned char> item = PackItem(text);
  // Every cut, including one that loses only the Adler-32 trailer.
  for (std::size_t keep = 4; keep < item.size(); keep += (keep < item.size() - 8 ? 97 : 1)) {
    const std::vector<unsigned char> cut(item.begin(), item.begin() + static_cast<std::ptrdiff_t>(keep));
    EXPECT_THROW(InflateItem(cut), EItemError) << "kept " << keep << " of " << item.size();
  }
}

TEST(InflateItem, RefusesDamagedStreams) {
  const std::string text = SampleText();
  const std::vector<unsigned char> item = PackItem(text);
  // A bad header, a damaged checksum, and raw deflate without a zlib header.
  std::vector<unsigned char> header = item;
  header[4] = 0x79;
  EXPECT_THROW(InflateItem(header), EItemError);
  std::vector<unsigned char> checksum = item;
  checksum.back() ^= 0x01;
  EXPECT_THROW(InflateItem(checksum), EItemError);
  std::vector<unsigned char> raw(item.begin(), item.begin() + 4);
  raw.insert(raw.end(), item.begin() + 6, item.end());
  EXPECT_THROW(InflateItem(raw), EItemError);
  // A flipped byte anywhere but in the padding bits of the last deflate byte
  // is refused.
  int refused = 0;
  for (std::size_t at = 6; at + 5 < item.size(); at += 53) {
    std::vector<unsigned char> flipped = item;
    flipped[at] ^= 0x5A;
    try {
      InflateItem(flipped);
    } catch (const EItemError&) {
      ++refused;
    }
  }
  EXPECT_EQ(refused, static_cast<int>((item.size() - 5 - 6 + 52) / 53));
}

}  // namespace
}  // namespace vormek
