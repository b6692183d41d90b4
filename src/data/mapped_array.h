#pragma once
// A read-only array that either owns its elements (built at load) or views
// them where a timetable image lies (mapped from a file or built into the
// program). Readers see one span either way, so the queries do not know or
// care which.
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace vormek {

template <class T>
class TMappedArray {
 public:
  TMappedArray() = default;
  // Takes the built elements; moving a vector keeps its buffer, so the view
  // stays valid as the array moves.
  TMappedArray(std::vector<T> owned) : owned_(std::move(owned)), view_(owned_) {}  // NOLINT: built arrays convert
  static TMappedArray View(std::span<const T> elements) {
    TMappedArray a;
    a.view_ = elements;
    return a;
  }
  TMappedArray(TMappedArray&& other) noexcept : owned_(std::move(other.owned_)), view_(other.view_) {
    other.view_ = {};
  }
  TMappedArray& operator=(TMappedArray&& other) noexcept {
    owned_ = std::move(other.owned_);
    view_ = other.view_;
    other.view_ = {};
    return *this;
  }
  TMappedArray(const TMappedArray&) = delete;
  TMappedArray& operator=(const TMappedArray&) = delete;

  const T& operator[](std::size_t i) const { return view_[i]; }
  std::size_t size() const { return view_.size(); }
  bool empty() const { return view_.empty(); }
  const T* data() const { return view_.data(); }
  auto begin() const { return view_.begin(); }
  auto end() const { return view_.end(); }
  const T& back() const { return view_.back(); }
  std::span<const T> Span() const { return view_; }

 private:
  std::vector<T> owned_;
  std::span<const T> view_;
};

}  // namespace vormek
