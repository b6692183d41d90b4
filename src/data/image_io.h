#pragma once
// The byte layout of a timetable image: numbers and arrays one after the
// other, each array starting on a 16-byte boundary, in this machine's byte
// order, so that an opened image is read where it lies without copying.
// The reader checks every length against the bytes there are; a damaged
// image throws EItemError and reads nothing outside its bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "data/errors.h"

namespace vormek {

inline constexpr std::size_t kImageAlign = 16;

// Hands the bytes to a sink in order as they are made; an array goes through
// as one piece straight from where it lies, never copied into a whole image.
class TImageWriter {
 public:
  using TSink = std::function<void(const char* data, std::size_t size)>;
  explicit TImageWriter(TSink sink) : sink_(std::move(sink)) {}

  void Number(std::uint64_t value) { Put(&value, sizeof value); }
  template <class T>
  void Array(std::span<const T> elements) {
    static_assert(std::is_trivially_copyable_v<T>);
    Number(elements.size());
    Pad();
    Put(elements.data(), elements.size_bytes());
    Pad();
  }
  void Text(std::string_view text) { Array(std::span<const char>(text.data(), text.size())); }
  std::uint64_t Size() const { return size_; }

 private:
  void Put(const void* data, std::size_t size) {
    if (size == 0) return;
    sink_(static_cast<const char*>(data), size);
    size_ += size;
  }
  void Pad() {
    static constexpr char kZeros[kImageAlign] = {};
    Put(kZeros, (kImageAlign - size_ % kImageAlign) % kImageAlign);
  }
  TSink sink_;
  std::uint64_t size_ = 0;
};

class TImageReader {
 public:
  // bytes must start on a 16-byte boundary, as a mapping or an allocation does.
  explicit TImageReader(std::span<const std::byte> bytes) : bytes_(bytes) {
    if (reinterpret_cast<std::uintptr_t>(bytes.data()) % kImageAlign != 0) Damaged("image is not aligned");
  }

  std::uint64_t Number() {
    std::uint64_t value = 0;
    Need(sizeof value);
    std::memcpy(&value, bytes_.data() + at_, sizeof value);
    at_ += sizeof value;
    return value;
  }
  template <class T>
  std::span<const T> Array() {
    static_assert(std::is_trivially_copyable_v<T> && alignof(T) <= kImageAlign);
    const std::uint64_t count = Number();
    Skip();
    if (count > (bytes_.size() - at_) / sizeof(T)) Damaged("an array runs past the image's end");
    const auto* first = reinterpret_cast<const T*>(bytes_.data() + at_);
    at_ += static_cast<std::size_t>(count) * sizeof(T);
    Skip();
    return {first, static_cast<std::size_t>(count)};
  }
  std::string_view Text() {
    const auto chars = Array<char>();
    return {chars.data(), chars.size()};
  }
  // A number that must lie in [0, limit].
  std::size_t Count(std::uint64_t limit, const char* what) {
    const std::uint64_t value = Number();
    if (value > limit) Damaged(std::string(what) + " out of range");
    return static_cast<std::size_t>(value);
  }
  bool AtEnd() const { return at_ == bytes_.size(); }

  [[noreturn]] static void Damaged(const std::string& why) { throw EItemError("damaged timetable image: " + why); }

 private:
  void Need(std::size_t size) const {
    if (bytes_.size() - at_ < size) Damaged("the image ends early");
  }
  void Skip() {
    const std::size_t pad = (kImageAlign - at_ % kImageAlign) % kImageAlign;
    Need(pad);
    at_ += pad;
  }
  std::span<const std::byte> bytes_;
  std::size_t at_ = 0;
};

}  // namespace vormek
