#include "data/inflate_item.h"

#include <libdeflate.h>

#include <cstdint>

#include "data/errors.h"

namespace vormek {

namespace {

// Deflate cannot do better than about 1032:1, so a length beyond that for the
// stored stream is a damaged prefix; refuse it before allocating.
constexpr std::uint64_t kMaxRatio = 1032;
constexpr std::uint64_t kRatioSlack = 64;
// Whatever the ratio allows, no item inflates to more than 1 GiB. The stop
// table of the national 2019 timetable is 4.9 MB of text, so this leaves room
// for about 200 times that, keeps every offset into a table's text within
// 32 bits, and bounds what one damaged item can make the loader allocate.
constexpr std::uint64_t kMaxInflated = 1024u * 1024u * 1024u;

// Owns one decompressor; freed however the step ends.
class TDecompressor {
 public:
  TDecompressor() : d_(libdeflate_alloc_decompressor()) {
    if (d_ == nullptr) throw EItemError("cannot start the inflater");
  }
  ~TDecompressor() { libdeflate_free_decompressor(d_); }
  TDecompressor(const TDecompressor&) = delete;
  TDecompressor& operator=(const TDecompressor&) = delete;
  libdeflate_decompressor* get() { return d_; }

 private:
  libdeflate_decompressor* d_;
};

}  // namespace

std::uint64_t MaxInflatedLength(std::size_t storedStreamBytes) {
  const std::uint64_t byRatio = kMaxRatio * storedStreamBytes + kRatioSlack;
  return byRatio < kMaxInflated ? byRatio : kMaxInflated;
}

std::string InflateItem(std::span<const unsigned char> stored) {
  if (stored.size() < 4) throw EItemError("item shorter than its 4-byte length");
  const std::uint32_t n = static_cast<std::uint32_t>(stored[0]) | (static_cast<std::uint32_t>(stored[1]) << 8) |
                          (static_cast<std::uint32_t>(stored[2]) << 16) | (static_cast<std::uint32_t>(stored[3]) << 24);
  const std::span<const unsigned char> packed = stored.subspan(4);
  if (n > MaxInflatedLength(packed.size()))
    throw EItemError("item length " + std::to_string(n) + " is impossible for " + std::to_string(packed.size()) +
                     " stored bytes");

  std::string out(n, '\0');
  TDecompressor decompressor;
  std::size_t usedIn = 0;
  std::size_t gotOut = 0;
  // One call: the whole input and exactly N bytes of room. libdeflate checks
  // the zlib header and the Adler-32 trailer.
  const libdeflate_result rc =
      libdeflate_zlib_decompress_ex(decompressor.get(), packed.data(), packed.size(), out.data(), n, &usedIn, &gotOut);
  switch (rc) {
    case LIBDEFLATE_SUCCESS:
      if (gotOut != n)
        throw EItemError("stream gives " + std::to_string(gotOut) + " bytes, length says " + std::to_string(n));
      if (usedIn != packed.size()) throw EItemError("bytes after the end of the stream");
      return out;
    case LIBDEFLATE_INSUFFICIENT_SPACE: throw EItemError("stream gives more than " + std::to_string(n) + " bytes");
    case LIBDEFLATE_SHORT_OUTPUT: throw EItemError("stream gives fewer than " + std::to_string(n) + " bytes");
    case LIBDEFLATE_BAD_DATA:
    default:
      // A cut stream reads as bad data too: libdeflate sees only its input.
      throw EItemError("damaged or cut-short stream");
  }
}

std::string DecompressItem(const TItemSet& items, std::string_view name) { return InflateItem(items.Open(name)); }

}  // namespace vormek
