#include "graph_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <unordered_map>

#include "data/gbk_codec.h"

namespace vormek::cli {
namespace {

constexpr char kNoFont[] = "找不到中文字体，无法写 PNG；请安装 fonts-arphic-uming，或用 --svg。";
constexpr char kBadOverride[] = "VORMEK_GRAPH_FONT 所指的字体打不开，无法写 PNG。";
constexpr char kNoChinese[] = "VORMEK_GRAPH_FONT 所指的字体没有中文字形，无法写 PNG。";

constexpr FT_ULong kProbeCharacter = 0x4E2D;  // 中
// Text sizes are clamped to what a label can sensibly be.
constexpr double kMinTextSize = 1, kMaxTextSize = 512;

// The code points of UTF-8 text; GbkToUtf8 gives well-formed text, so a
// stray byte only needs not to hang or crash.
std::vector<char32_t> CodePoints(std::string_view utf8) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int extra = lead < 0x80 ? 0 : lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || i + extra >= utf8.size()) {
      out.push_back(0xFFFD);
      ++i;
      continue;
    }
    char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    out.push_back(c);
    i += extra + 1;
  }
  return out;
}

struct TGlyph {
  int Left = 0, Top = 0, Width = 0, Rows = 0;
  double Advance = 0;  // pixels
  std::vector<std::uint8_t> Coverage;
};

}  // namespace

struct TGraphFont::TImpl {
  FT_Library Library = nullptr;
  FT_Face Face = nullptr;
  std::string File;
  FT_F26Dot6 Size = 0;
  std::unordered_map<std::uint64_t, TGlyph> Glyphs;

  ~TImpl() {
    if (Face != nullptr) FT_Done_Face(Face);
    if (Library != nullptr) FT_Done_FreeType(Library);
  }

  // A collection's faces differ in their glyph shapes: the simplified
  // Chinese one (CN, SC, GB in its name) draws the mainland's forms.
  bool Load(const std::string& path) {
    FT_Face probe = nullptr;
    if (FT_New_Face(Library, path.c_str(), -1, &probe) != 0) return false;
    const FT_Long faces = probe->num_faces;
    FT_Done_Face(probe);
    FT_Long chosen = 0;
    for (FT_Long i = 0; i < faces; ++i) {
      FT_Face face = nullptr;
      if (FT_New_Face(Library, path.c_str(), i, &face) != 0) continue;
      const std::string family = face->family_name != nullptr ? face->family_name : "";
      FT_Done_Face(face);
      if (family.find(" CN") != std::string::npos || family.find(" SC") != std::string::npos ||
          family.find(" GB") != std::string::npos) {
        chosen = i;
        break;
      }
    }
    if (FT_New_Face(Library, path.c_str(), chosen, &Face) != 0) return false;
    File = path;
    return FT_Get_Char_Index(Face, kProbeCharacter) != 0;
  }

  const TGlyph& Glyph(char32_t c, double size) {
    const auto size26 = FT_F26Dot6(std::lround(std::clamp(size, kMinTextSize, kMaxTextSize) * 64));
    const std::uint64_t key = (std::uint64_t(size26) << 32) | c;
    if (auto it = Glyphs.find(key); it != Glyphs.end()) return it->second;
    TGlyph& glyph = Glyphs[key];
    if (Size != size26) {
      // 72 dots an inch: points are pixels.
      if (FT_Set_Char_Size(Face, 0, size26, 72, 72) != 0) return glyph;
      Size = size26;
    }
    // Outlines rather than the small sizes' embedded one-bit bitmaps, so
    // that every size is smoothed alike.
    if (FT_Load_Char(Face, c, FT_LOAD_RENDER | FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_LIGHT) != 0) return glyph;
    const FT_GlyphSlot slot = Face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.Left = slot->bitmap_left;
    glyph.Top = slot->bitmap_top;
    glyph.Width = int(bitmap.width);
    glyph.Rows = int(bitmap.rows);
    glyph.Advance = slot->advance.x / 64.0;
    glyph.Coverage.resize(std::size_t(glyph.Width) * glyph.Rows);
    for (int y = 0; y < glyph.Rows; ++y) {
      const unsigned char* row = bitmap.buffer + std::ptrdiff_t(y) * bitmap.pitch;
      for (int x = 0; x < glyph.Width; ++x) {
        std::uint8_t v = 0;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
          v = std::uint8_t(row[x] * 255 / std::max(1, bitmap.num_grays - 1));
        else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
          v = (row[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
        glyph.Coverage[std::size_t(y) * glyph.Width + x] = v;
      }
    }
    return glyph;
  }
};

const std::vector<std::string>& KnownGraphFontFiles() {
  static const std::vector<std::string> files = {
      "/usr/share/fonts/truetype/arphic/uming.ttc",
      "/usr/share/fonts/truetype/arphic-gbsn00lp/gbsn00lp.ttf",
      "/usr/share/fonts/opentype/noto/NotoSerifCJK-Regular.ttc",
      "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc",
      "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc",
      "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc",
      "/usr/share/fonts/truetype/arphic/ukai.ttc",
      "/usr/share/fonts/truetype/arphic-gkai00mp/gkai00mp.ttf",
  };
  return files;
}

TGraphFont::TGraphFont(std::unique_ptr<TImpl> impl) : impl_(std::move(impl)) {}
TGraphFont::~TGraphFont() = default;

std::unique_ptr<TGraphFont> TGraphFont::OpenFile(const std::string& path, std::string& error) {
  auto impl = std::make_unique<TImpl>();
  if (FT_Init_FreeType(&impl->Library) != 0) {
    error = kNoFont;
    return nullptr;
  }
  if (!impl->Load(path)) {
    error = impl->Face == nullptr ? kBadOverride : kNoChinese;
    return nullptr;
  }
  return std::unique_ptr<TGraphFont>(new TGraphFont(std::move(impl)));
}

std::unique_ptr<TGraphFont> TGraphFont::Open(std::string& error) {
  const char* chosen = std::getenv("VORMEK_GRAPH_FONT");
  if (chosen != nullptr && chosen[0] != '\0') return OpenFile(chosen, error);
  for (const std::string& file : KnownGraphFontFiles()) {
    std::string ignored;
    if (auto font = OpenFile(file, ignored)) return font;
  }
  error = kNoFont;
  return nullptr;
}

const std::string& TGraphFont::File() const { return impl_->File; }

double TGraphFont::TextWidth(std::string_view gbk, double size) {
  double width = 0;
  for (char32_t c : CodePoints(GbkToUtf8(gbk))) width += impl_->Glyph(c, size).Advance;
  return width;
}

std::vector<TCoverageBitmap> TGraphFont::Place(const TGraphText& text) {
  std::vector<TCoverageBitmap> placed;
  if (!std::isfinite(text.X) || !std::isfinite(text.Y) || !(text.Size > 0)) return placed;
  const std::vector<char32_t> chars = CodePoints(GbkToUtf8(text.Text));
  double pen = text.X;
  if (text.Anchor != TGraphAnchor::Start) {
    double width = 0;
    for (char32_t c : chars) width += impl_->Glyph(c, text.Size).Advance;
    pen -= text.Anchor == TGraphAnchor::Middle ? width / 2 : width;
  }
  if (std::abs(pen) > 1e6 || std::abs(text.Y) > 1e6) return placed;
  const int baseline = int(std::lround(text.Y));
  for (char32_t c : chars) {
    const TGlyph& glyph = impl_->Glyph(c, text.Size);
    if (glyph.Width > 0 && glyph.Rows > 0)
      placed.push_back(
          {glyph.Coverage.data(), int(std::lround(pen)) + glyph.Left, baseline - glyph.Top, glyph.Width, glyph.Rows});
    pen += glyph.Advance;
  }
  return placed;
}

}  // namespace vormek::cli
