#include "data/inflate_item.h"

#include <zlib.h>

#include <climits>
#include <cstdint>

#include "data/errors.h"

namespace vormek {

namespace {

// Deflate cannot do better than about 1032:1, so a length beyond that for the
// stored stream is a damaged prefix; refuse it before allocating.
constexpr std::uint64_t kMaxRatio = 1032;
constexpr std::uint64_t kRatioSlack = 64;
constexpr std::uint64_t kMaxInflated = 256u * 1024u * 1024u;

// Owns one inflater; inflateEnd runs however the step ends.
class TInflater {
 public:
  TInflater() {
    stream_.zalloc = Z_NULL;
    stream_.zfree = Z_NULL;
    stream_.opaque = Z_NULL;
    stream_.next_in = Z_NULL;
    stream_.avail_in = 0;
    if (inflateInit(&stream_) != Z_OK) throw EItemError("cannot start the inflater");
  }
  ~TInflater() { inflateEnd(&stream_); }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
  z_stream& stream() { return stream_; }

 private:
  z_stream stream_{};
};

}  // namespace

std::string InflateItem(std::span<const unsigned char> stored) {
  if (stored.size() < 4) throw EItemError("item shorter than its 4-byte length");
  const std::uint32_t n = static_cast<std::uint32_t>(stored[0]) | (static_cast<std::uint32_t>(stored[1]) << 8) |
                          (static_cast<std::uint32_t>(stored[2]) << 16) |
                          (static_cast<std::uint32_t>(stored[3]) << 24);
  const std::span<const unsigned char> packed = stored.subspan(4);
  if (packed.size() > UINT_MAX) throw EItemError("item too large");
  if (n > kMaxInflated || n > kMaxRatio * packed.size() + kRatioSlack)
    throw EItemError("item length " + std::to_string(n) + " is impossible for " +
                     std::to_string(packed.size()) + " stored bytes");

  std::string out(n, '\0');
  TInflater inflater;
  z_stream& zs = inflater.stream();
  // zlib never writes through next_in; the cast only satisfies its old API.
  zs.next_in = const_cast<Bytef*>(packed.data());
  zs.avail_in = static_cast<uInt>(packed.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(n);

  // One call: the whole input and exactly N bytes of room.
  const int rc = inflate(&zs, Z_FINISH);
  if (rc == Z_STREAM_END) {
    if (zs.avail_out != 0)
      throw EItemError("stream gives " + std::to_string(n - zs.avail_out) + " bytes, length says " +
                       std::to_string(n));
    if (zs.avail_in != 0) throw EItemError("bytes after the end of the stream");
    return out;
  }
  if (rc == Z_BUF_ERROR) {
    if (zs.avail_out == 0 && zs.avail_in != 0)
      throw EItemError("stream gives more than " + std::to_string(n) + " bytes");
    throw EItemError("stream is cut short");
  }
  if (rc == Z_MEM_ERROR) throw EItemError("out of memory while inflating");
  throw EItemError(std::string("damaged stream: ") + (zs.msg != nullptr ? zs.msg : "inflate failed"));
}

std::string DecompressItem(const TItemSet& items, std::string_view name) {
  return InflateItem(items.Open(name));
}

}  // namespace vormek
