#include "png_encoder.h"

#include <libdeflate.h>

#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <vector>

namespace vormek::cli {
namespace {

constexpr std::size_t kIdatBytes = std::size_t(1) << 20;

void PutU32(std::string& out, std::uint32_t v) {
  out.push_back(char(v >> 24));
  out.push_back(char(v >> 16));
  out.push_back(char(v >> 8));
  out.push_back(char(v));
}

void PutChunk(std::string& out, const char type[4], std::string_view data) {
  PutU32(out, std::uint32_t(data.size()));
  const std::size_t start = out.size();
  out.append(type, 4);
  out.append(data);
  PutU32(out, libdeflate_crc32(0, out.data() + start, out.size() - start));
}

// The heuristic the PNG book recommends: the smallest sum of the filtered
// bytes read as signed.
unsigned long Cost(const std::uint8_t* bytes, std::size_t n) {
  unsigned long sum = 0;
  for (std::size_t i = 0; i < n; ++i) sum += bytes[i] < 128 ? bytes[i] : 256 - bytes[i];
  return sum;
}

std::string FilteredRows(const TRgbImage& image) {
  const std::size_t stride = std::size_t(image.Width) * 3;
  std::string out(image.Height * (stride + 1), '\0');
  std::vector<std::uint8_t> sub(stride, 0), up(stride, 0);
  for (int y = 0; y < image.Height; ++y) {
    const std::uint8_t* row = &image.Pixels[y * stride];
    const std::uint8_t* above = y > 0 ? row - stride : nullptr;
    for (std::size_t i = 0; i < stride; ++i) {
      sub[i] = std::uint8_t(row[i] - (i >= 3 ? row[i - 3] : 0));
      up[i] = std::uint8_t(row[i] - (above != nullptr ? above[i] : 0));
    }
    const unsigned long none = Cost(row, stride), bySub = Cost(sub.data(), stride), byUp = Cost(up.data(), stride);
    char* line = &out[y * (stride + 1)];
    const std::uint8_t* chosen = row;
    line[0] = 0;
    if (bySub < none && bySub <= byUp) {
      line[0] = 1;
      chosen = sub.data();
    } else if (byUp < none) {
      line[0] = 2;
      chosen = up.data();
    }
    std::copy(chosen, chosen + stride, reinterpret_cast<std::uint8_t*>(line + 1));
  }
  return out;
}

struct TCompressorFree {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

}  // namespace

std::string EncodePng(const TRgbImage& image) {
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string header;
  PutU32(header, std::uint32_t(image.Width));
  PutU32(header, std::uint32_t(image.Height));
  header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, adaptive filters, no interlace
  PutChunk(out, "IHDR", header);

  const std::string rows = FilteredRows(image);
  // The fastest level: on a busy 1600x1000 graph the file is 1% larger than
  // at 6 and takes two thirds of the time.
  std::unique_ptr<libdeflate_compressor, TCompressorFree> compressor(libdeflate_alloc_compressor(1));
  if (compressor == nullptr) throw std::bad_alloc();
  std::string packed(libdeflate_zlib_compress_bound(compressor.get(), rows.size()), '\0');
  packed.resize(libdeflate_zlib_compress(compressor.get(), rows.data(), rows.size(), packed.data(), packed.size()));
  for (std::size_t at = 0; at < packed.size(); at += kIdatBytes)
    PutChunk(out, "IDAT", std::string_view(packed).substr(at, kIdatBytes));
  PutChunk(out, "IEND", {});
  return out;
}

}  // namespace vormek::cli
