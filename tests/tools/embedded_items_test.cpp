// The twelve items the program carries (and the spellings beside them), and
// embedding another timetable.
#include "data/embedded_items.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/inflate_item.h"
#include "data/timetable.h"
#include "item_packer.h"
#include "pictures.h"

namespace vormek {
namespace {

std::uint32_t Le(std::string_view bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

TEST(EmbeddedItems, HoldsTheTwelveNamedItemsEachALengthAndOneStrongestZlibStream) {
  const TItemSet& items = EmbeddedItems();
  // Beside the twelve, the full-pinyin spellings of a timetable that has them.
  const bool spellings = items.Contains("SQP");
  EXPECT_TRUE(spellings || !VORMEK_EMBEDS_REFERENCE);
  ASSERT_EQ(items.Items().size(), spellings ? 13u : 12u);
  for (const char* name :
       {"SList", "STrain", "SM", "SPY", "Logo", "update", "b1", "b2", "b3", "b4", "b5", "b7", "SQP"}) {
    SCOPED_TRACE(name);
    if (!spellings && std::string_view(name) == "SQP") continue;
    auto stored = items.Open(name);
    ASSERT_GT(stored.size(), 6u);
    EXPECT_EQ(stored[4], 0x78);
    EXPECT_EQ(stored[5], 0xDA);
    std::uint32_t n = stored[0] | stored[1] << 8 | stored[2] << 16 | static_cast<std::uint32_t>(stored[3]) << 24;
    // Inflating checks the stream yields exactly N bytes and ends with the item.
    EXPECT_EQ(InflateItem(stored).size(), n);
  }
}

struct BitmapShape {
  const char* name;
  int width, height, bits;
  std::size_t fileSize;
};

constexpr BitmapShape kBitmaps[] = {{"LOGO", 143, 63, 8, 10150}, {"UPDATE", 23, 23, 8, 1630}, {"B1", 28, 24, 8, 1750},
                                    {"B2", 28, 24, 24, 2070},    {"B3", 28, 24, 8, 1750},     {"B4", 28, 24, 8, 1750},
                                    {"B5", 28, 24, 8, 1750},     {"B7", 200, 59, 8, 12878}};

void ExpectBitmap(const std::string& bmp, const BitmapShape& shape) {
  SCOPED_TRACE(shape.name);
  ASSERT_EQ(bmp.size(), shape.fileSize);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(Le(bmp, 2, 4), shape.fileSize);
  EXPECT_EQ(Le(bmp, 10, 4), shape.bits == 8 ? 1078u : 54u) << "pixel offset";
  EXPECT_EQ(Le(bmp, 14, 4), 40u) << "information header";
  EXPECT_EQ(Le(bmp, 18, 4), static_cast<std::uint32_t>(shape.width));
  EXPECT_EQ(Le(bmp, 22, 4), static_cast<std::uint32_t>(shape.height));
  EXPECT_EQ(Le(bmp, 26, 2), 1u) << "planes";
  EXPECT_EQ(Le(bmp, 28, 2), static_cast<std::uint32_t>(shape.bits));
  EXPECT_EQ(Le(bmp, 30, 4), 0u) << "uncompressed";
}

TEST(EmbeddedItems, PicturesAreOrdinaryBitmapsOfTheirSizes) {
  for (const BitmapShape& shape : kBitmaps) {
    ExpectBitmap(DecompressItem(EmbeddedItems(), shape.name), shape);
  }
}

TEST(EmbeddedItems, PicturesAreNotBlank) {
  for (const auto& picture : pictures::DrawAll()) {
    const BitmapShape* shape = nullptr;
    for (const BitmapShape& s : kBitmaps) {
      if (picture.name == s.name) shape = &s;
    }
    ASSERT_NE(shape, nullptr) << picture.name;
    ExpectBitmap(picture.bmp, *shape);
    std::string pixels = picture.bmp.substr(Le(picture.bmp, 10, 4));
    std::size_t differing = 0;
    for (char c : pixels) differing += c != pixels[0];
    EXPECT_GT(differing, pixels.size() / 20) << picture.name << " is nearly one colour";
  }
}

TEST(EmbeddedItems, GeneratedSourceCarriesEveryByte) {
  std::string content = "a\"b\\c?\x01\xFF";
  content += std::string(1, '\0') + "\x37" + "7";  // an escape followed by a digit
  std::vector<pack::NamedItem> items{{"SLIST", pack::PackItem(content)}};
  std::ostringstream source;
  pack::WriteItemsSource(items, source);
  // Read the literal back the way the compiler does: octal escapes, else bytes.
  std::string text = source.str();
  std::size_t open = text.find("\"", text.find("kSLIST[] ="));
  std::string decoded;
  for (std::size_t i = open + 1; text.compare(i, 2, "\";") != 0; ++i) {
    if (text[i] == '"') {
      i = text.find('"', i + 1);  // "...""...": next piece of the literal
      continue;
    }
    if (text[i] == '\\') {
      decoded += static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 + (text[i + 3] - '0'));
      i += 3;
    } else {
      decoded += text[i];
    }
  }
  std::string stored(items[0].stored.begin(), items[0].stored.end());
  EXPECT_EQ(decoded, stored);
  auto span = std::span<const unsigned char>(items[0].stored);
  EXPECT_EQ(InflateItem(span), content);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int DataRowCount(const std::string& text) {
  std::size_t header = text.find("\"@@TABLEDEF END@@\"\r\n");
  int lines = 0;
  for (std::size_t i = header; i < text.size(); ++i) lines += text[i] == '\n';
  return lines - 2;  // the end marker and the header row
}

TEST(EmbeddedItems, AnotherTimetablePackedTheSameWayLoads) {
  std::filesystem::path dir = std::filesystem::path(VORMEK_SHARED_TIMETABLES) / "cn2019";
  if (!std::filesystem::exists(dir / "STRAIN.txt")) GTEST_SKIP() << "no national tables";
  std::vector<std::vector<unsigned char>> stored;
  std::vector<TEmbeddedItem> items;
  std::vector<int> rows;
  for (const auto& source : pack::ItemSources()) {
    if (!source.table) continue;
    std::string text = ReadFile(dir / source.file);
    rows.push_back(DataRowCount(text));
    stored.push_back(pack::PackItem(text));
  }
  for (std::size_t i = 0; i < stored.size(); ++i) {
    items.push_back({pack::ItemSources()[i].name, stored[i].data(), stored[i].size()});
  }
  TTimetable timetable;
  LoadTimetable(TItemSet(items), timetable);
  EXPECT_EQ(timetable.KMList.RecordCount(), rows[0]);
  EXPECT_EQ(timetable.KMTrain.RecordCount(), rows[1]);
  EXPECT_EQ(timetable.KMSM.RecordCount(), rows[2]);
  EXPECT_EQ(timetable.KMPy.RecordCount(), rows[3]);
  EXPECT_GT(rows[1], 60000);
  ASSERT_TRUE(timetable.KMTrain.Locate("ID", "T7567"));
  EXPECT_EQ(timetable.KMTrain.FieldByName("S_No").AsInteger(), 1);
}

}  // namespace
}  // namespace vormek
