// The train graph's PNG writer, read back with libpng: what it draws where,
// and that a file it cannot finish is never left behind.
#include "graph_png.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "graph_raster.h"

namespace vormek::cli {
namespace {

namespace fs = std::filesystem;

struct TDecoded {
  int Width = 0, Height = 0;
  std::vector<std::uint8_t> Rgb;
  TGraphColour At(int x, int y) const {
    const std::uint8_t* p = &Rgb[(std::size_t(y) * Width + x) * 3];
    return {p[0], p[1], p[2]};
  }
  bool White(int x, int y) const { return At(x, y) == TGraphColour{255, 255, 255}; }
};

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// libpng checks the signature, every chunk's CRC and the zlib stream.
TDecoded Decode(const std::string& bytes) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  EXPECT_TRUE(png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) << image.message;
  image.format = PNG_FORMAT_RGB;
  TDecoded out{int(image.width), int(image.height), std::vector<std::uint8_t>(PNG_IMAGE_SIZE(image))};
  EXPECT_TRUE(png_image_finish_read(&image, nullptr, out.Rgb.data(), 0, nullptr)) << image.message;
  png_image_free(&image);
  return out;
}

class GraphPng : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("graph_png_test." + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  TDecoded Drawn(const TTrainGraph& graph, TGraphFont* font = nullptr) {
    std::string error;
    const fs::path file = dir_ / "graph.png";
    const bool written = font != nullptr ? WriteGraphPng(graph, *font, file, error) : WriteGraphPng(graph, file, error);
    EXPECT_TRUE(written) << error;
    return Decode(ReadFile(file));
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) names.push_back(entry.path().filename());
    return names;
  }

  fs::path dir_;
};

TTrainGraph Graph(double width, double height, std::vector<TGraphOp> ops) {
  TTrainGraph graph;
  graph.Width = width;
  graph.Height = height;
  graph.Ops = std::move(ops);
  return graph;
}

TGraphPath Line(std::vector<TGraphPoint> points, TGraphColour colour, double width,
                TGraphLineStyle style = TGraphLineStyle::Solid) {
  TGraphPath path;
  path.Points = std::move(points);
  path.Colour = colour;
  path.Width = width;
  path.Style = style;
  return path;
}

TEST_F(GraphPng, SizeRoundsAndLinesKeepTheirColour) {
  const TGraphColour red{200, 10, 30}, blue{0, 60, 220};
  const TDecoded png = Drawn(Graph(
      320.4, 199.6, {Line({{20, 50.5}, {300, 50.5}}, red, 3), Line({{20, 180}, {120, 80}, {300, 100}}, blue, 3)}));
  EXPECT_EQ(png.Width, 320);
  EXPECT_EQ(png.Height, 200);
  for (int x = 25; x <= 295; x += 10) EXPECT_EQ(png.At(x, 50), red) << x;
  for (int k = 5; k < 95; k += 10) EXPECT_EQ(png.At(20 + k, 180 - k), blue) << k;
  EXPECT_EQ(png.At(120, 80), blue);  // the join
  EXPECT_TRUE(png.White(200, 150));
  EXPECT_TRUE(png.White(5, 5));
}

// The ops are laid in their order, whichever reaches a row first: of two
// crossing lines the later shows where they cross, and a mark drawn after
// both shows over them.
TEST_F(GraphPng, LaterOpsLieOnTop) {
  const TGraphColour red{200, 0, 0}, blue{0, 0, 200}, green{0, 150, 0};
  const TGraphPath across = Line({{10, 40.5}, {90, 40.5}}, red, 5);
  const TGraphPath down = Line({{50.5, 5}, {50.5, 60}}, blue, 5);
  EXPECT_EQ(Drawn(Graph(100, 80, {across, down})).At(50, 40), blue);
  EXPECT_EQ(Drawn(Graph(100, 80, {down, across})).At(50, 40), red);
  EXPECT_EQ(Drawn(Graph(100, 80, {down, across, TGraphMark{50.5, 40.5, 8, green}})).At(50, 40), green);
}

// Every solid segment covers the pixel that holds its midpoint: wholly
// when the line is wide enough to reach the pixel's corners, else by at
// least as much as the distance allows, in the line's own hue.
TEST_F(GraphPng, RandomSegmentsCoverTheirMidpoints) {
  std::mt19937 random(20260512);
  std::uniform_real_distribution<double> along(-20, 140), width(1, 5);
  std::uniform_int_distribution<int> channel(0, 200);
  for (int round = 0; round < 300; ++round) {
    const TGraphPoint a{along(random), along(random)}, b{along(random), along(random)};
    const TGraphColour colour{std::uint8_t(channel(random)), std::uint8_t(channel(random)),
                              std::uint8_t(channel(random))};
    const double w = width(random);
    const TGraphPoint mid{(a.X + b.X) / 2, (a.Y + b.Y) / 2};
    if (mid.X < 0 || mid.Y < 0 || mid.X >= 120 || mid.Y >= 120) continue;
    const TDecoded png = Drawn(Graph(120, 120, {Line({a, b}, colour, w)}));
    const TGraphColour got = png.At(int(mid.X), int(mid.Y));
    // The pixel's centre is at most half a diagonal from the line.
    const double least = std::min(1.0, w / 2 + 0.5 - std::sqrt(0.5));
    for (auto [want, have] : {std::pair{colour.R, got.R}, {colour.G, got.G}, {colour.B, got.B}}) {
      const double cover = (255.0 - have) / (255.0 - want);
      EXPECT_GE(cover, least - 0.02) << round << " width " << w;
      EXPECT_LE(cover, 1.02) << round;
    }
  }
}

// Along a horizontal dashed, dotted or dash-dotted line the coloured and
// white runs follow the style's pattern to within a pixel.
TEST_F(GraphPng, DashesFollowTheirPattern) {
  for (auto style : {TGraphLineStyle::Dashed, TGraphLineStyle::Dotted, TGraphLineStyle::DashDot}) {
    for (double w : {1.0, 2.0}) {
      const TDecoded png = Drawn(Graph(400, 20, {Line({{10, 10.5}, {200, 10.5}, {390, 10.5}}, {0, 0, 0}, w, style)}));
      std::vector<int> runs;
      bool inked = true;
      int run = 0;
      for (int x = 10; x < 390; ++x) {
        const bool dark = png.At(x, 10).R < 128;
        if (dark != inked) {
          runs.push_back(run);
          inked = dark;
          run = 0;
        }
        ++run;
      }
      const std::vector<double> pattern = DashPattern(style, w);
      ASSERT_GT(runs.size(), 8u);
      for (std::size_t i = 0; i < runs.size(); ++i)
        EXPECT_NEAR(runs[i], pattern[i % pattern.size()], 1.0) << int(style) << " width " << w << " run " << i;
    }
  }
}

// A path's coverage is laid once: a line drawn back over itself, or a
// polyline's joins, are no darker than the line itself.
TEST_F(GraphPng, OverlapsWithinAPathAreLaidOnce) {
  const TGraphColour grey{90, 90, 90};
  const TGraphPoint a{10.3, 12.7}, b{150.2, 71.9};
  const TDecoded once = Drawn(Graph(160, 90, {Line({a, b}, grey, 1.3)}));
  const TDecoded twice = Drawn(Graph(160, 90, {Line({a, b, a, b}, grey, 1.3)}));
  EXPECT_EQ(once.Rgb, twice.Rgb);
  const TDecoded mark = Drawn(Graph(40, 40, {TGraphMark{20, 20, 10, grey}}));
  EXPECT_EQ(mark.At(20, 20), grey);  // where the cross's strokes meet
  EXPECT_EQ(mark.At(16, 16), grey);
  EXPECT_TRUE(mark.White(20, 16));
}

// A text's ink lies on its baseline within the advance the font measures,
// placed by its anchor.
TEST_F(GraphPng, TextsSitOnTheirAnchor) {
  std::string error;
  std::unique_ptr<TGraphFont> font = TGraphFont::Open(error);
  if (font == nullptr) GTEST_SKIP() << "no Chinese face: " << error;
  const std::string name = "北京西K599";
  const double size = 20, width = font->TextWidth(name, size);
  EXPECT_GT(width, 3 * size);
  EXPECT_LE(width, 5 * size);
  for (auto anchor : {TGraphAnchor::Start, TGraphAnchor::Middle, TGraphAnchor::End}) {
    TGraphText text{200, 50, name, size, {0, 0, 0}, anchor};
    const TDecoded png = Drawn(Graph(400, 80, {text}), font.get());
    int left = png.Width, right = -1, top = png.Height, bottom = -1;
    for (int y = 0; y < png.Height; ++y)
      for (int x = 0; x < png.Width; ++x)
        if (!png.White(x, y)) {
          left = std::min(left, x), right = std::max(right, x);
          top = std::min(top, y), bottom = std::max(bottom, y);
        }
    const double start = anchor == TGraphAnchor::Start    ? 200
                         : anchor == TGraphAnchor::Middle ? 200 - width / 2
                                                          : 200 - width;
    EXPECT_GE(left, start - 1) << int(anchor);
    EXPECT_LE(left, start + size / 4) << int(anchor);
    EXPECT_LE(right, start + width + 1) << int(anchor);
    EXPECT_GE(right, start + width - size / 3) << int(anchor);
    EXPECT_GE(top, 50 - size) << int(anchor);
    EXPECT_LE(bottom, 50 + size / 3) << int(anchor);
    EXPECT_LT(top, 50 - size / 2) << int(anchor);
  }
}

TEST_F(GraphPng, NoChineseFaceIsAnErrorAndNoFile) {
  const char* before = std::getenv("VORMEK_GRAPH_FONT");
  const std::string saved = before != nullptr ? before : "";
  ::setenv("VORMEK_GRAPH_FONT", (dir_ / "missing.ttf").c_str(), 1);
  std::string error;
  const TTrainGraph labelled = Graph(50, 50, {TGraphText{5, 20, "站", 12, {}, TGraphAnchor::Start}});
  EXPECT_FALSE(WriteGraphPng(labelled, dir_ / "labelled.png", error));
  EXPECT_NE(error.find("VORMEK_GRAPH_FONT"), std::string::npos);
  // Lines alone need no font.
  EXPECT_TRUE(WriteGraphPng(Graph(50, 50, {Line({{0, 0}, {50, 50}}, {}, 1)}), dir_ / "lines.png", error)) << error;
  if (before != nullptr)
    ::setenv("VORMEK_GRAPH_FONT", saved.c_str(), 1);
  else
    ::unsetenv("VORMEK_GRAPH_FONT");
  EXPECT_EQ(Files(), std::vector<std::string>{"lines.png"});
}

// A write that fails leaves what was there before, or nothing: a device
// keeps being the device, a folder that is missing stays missing, and a
// file cut short by the size limit (a full disk, as the process sees it)
// is not renamed over the old one.
TEST_F(GraphPng, FailedWritesLeaveNoPart) {
  const TTrainGraph graph = Graph(300, 200, {Line({{0, 0}, {300, 200}}, {255, 0, 0}, 2)});
  std::string error;
  EXPECT_FALSE(WriteGraphPng(graph, "/dev/full", error));
  EXPECT_NE(error, "");
  struct stat info {};
  ASSERT_EQ(::stat("/dev/full", &info), 0);
  EXPECT_TRUE(S_ISCHR(info.st_mode));

  error.clear();
  EXPECT_FALSE(WriteGraphPng(graph, dir_ / "missing" / "graph.png", error));
  EXPECT_NE(error, "");
  EXPECT_FALSE(fs::exists(dir_ / "missing"));

  const fs::path old = dir_ / "graph.png";
  std::ofstream(old) << "old";
  error.clear();
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto handler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 100;
  ::setrlimit(RLIMIT_FSIZE, &small);
  const bool written = WriteGraphPng(graph, old, error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, handler);
  EXPECT_FALSE(written);
  EXPECT_NE(error, "");
  EXPECT_EQ(ReadFile(old), "old");
  EXPECT_EQ(Files(), std::vector<std::string>{"graph.png"});
}

// Degenerate ops (a layout given one train, or none, can make them) are
// drawn as far as they make sense, without a crash or a hang, and spoil
// nothing drawn after them.
TEST_F(GraphPng, DegenerateOpsSpoilNothing) {
  const double inf = INFINITY, nan = NAN;
  std::vector<TGraphOp> ops = {
      Line({{nan, 5}, {10, 10}, {inf, 3}, {20, 20}}, {1, 1, 1}, 2),
      Line({{-1e300, -1e300}, {1e300, 1e300}}, {2, 2, 2}, 1, TGraphLineStyle::Dashed),
      Line({{5, 5}, {5, 5}, {6, 6}}, {3, 3, 3}, 1e12, TGraphLineStyle::Dotted),
      Line({{0, 0}, {50, 50}}, {4, 4, 4}, -1),
      TGraphMark{nan, 3, 5, {}},
      TGraphMark{30, 30, 1e300, {}},
      TGraphText{1e300, 10, "站", 12, {}, TGraphAnchor::End},
      TGraphText{10, 10, "站", -4, {}, TGraphAnchor::Middle},
      TGraphText{10, 10, "\xFF\x81\xFE", 1e9, {}, TGraphAnchor::Start},
  };
  const TGraphColour red{220, 0, 0};
  ops.push_back(Line({{0, 40.5}, {80, 40.5}}, red, 3));
  std::string error;
  std::unique_ptr<TGraphFont> font = TGraphFont::Open(error);
  if (font == nullptr) std::erase_if(ops, [](const TGraphOp& op) { return std::holds_alternative<TGraphText>(op); });
  const TDecoded png = Drawn(Graph(80, 60, ops), font.get());
  for (int x = 2; x < 78; x += 5) EXPECT_EQ(png.At(x, 40), red) << x;
}

TEST_F(GraphPng, SizesOutOfRangeAreRefused) {
  std::string error;
  for (auto [w, h] : {std::pair{0.0, 10.0}, {10.0, NAN}, {1e6, 10.0}, {-5.0, -5.0}, {16000.0, 16000.0}}) {
    EXPECT_FALSE(WriteGraphPng(Graph(w, h, {}), dir_ / "graph.png", error)) << w << "x" << h;
  }
  EXPECT_TRUE(Files().empty());
}

}  // namespace
}  // namespace vormek::cli
