// A batch of input lines, in file order.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

namespace stpconv {

/// An ordered batch of at most `capacity()` text lines. The lines are views
/// into the block they were read from, so a batch is valid only until the
/// next one is loaded. Its room is allocated once; refilling allocates nothing.
class LineList {
 public:
  static constexpr std::size_t kDefaultCapacity = 32768;

  explicit LineList(std::size_t capacity = kDefaultCapacity)
      : lines_(new std::string_view[capacity]), capacity_(capacity) {}

  void append(std::string_view line) { lines_[size_++] = line; }
  /// The free room, for filling many lines at once; `grow` records how many were filled.
  [[nodiscard]] std::span<std::string_view> room() { return {lines_.get() + size_, capacity_ - size_}; }
  void grow(std::size_t count) { size_ += count; }
  void clear() { size_ = 0; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] bool full() const { return size_ == capacity_; }
  [[nodiscard]] std::size_t capacity() const { return capacity_; }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] std::string_view operator[](std::size_t i) const { return lines_[i]; }
  [[nodiscard]] const std::string_view* begin() const { return lines_.get(); }
  [[nodiscard]] const std::string_view* end() const { return lines_.get() + size_; }

 private:
  std::unique_ptr<std::string_view[]> lines_;
  std::size_t capacity_;
  std::size_t size_ = 0;
};

}  // namespace stpconv
