// A batch of input lines, in file order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>
#include <string_view>

namespace stpconv {

/// An ordered batch of at most `capacity` text lines. The lines are views
/// into the block they were read from, so a batch is valid only until the
/// next one is loaded. Its room starts small and doubles each time a batch
/// fills it, up to the capacity: a small input touches little memory, a
/// large one soon gets large batches, and refilling allocates nothing.
class LineList {
 public:
  static constexpr std::size_t kDefaultCapacity = 32768;

  explicit LineList(std::size_t capacity = kDefaultCapacity) : capacity_(capacity) {}

  void append(std::string_view line) {
    (void)room();
    lines_[size_++] = line;
  }
  /// The free room, for filling many lines at once; `grow` records how many were filled.
  [[nodiscard]] std::span<std::string_view> room() {
    if (allocated_ == 0) allocate(std::min(capacity_, kFirstRoom));
    return {lines_.get() + size_, allocated_ - size_};
  }
  void grow(std::size_t count) { size_ += count; }
  void clear() {
    if (full() && allocated_ < capacity_) allocate(std::min(capacity_, 2 * allocated_));
    size_ = 0;
  }
  /// True when the batch has no room left: more lines may be waiting.
  [[nodiscard]] bool full() const { return allocated_ != 0 && size_ == allocated_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] std::string_view operator[](std::size_t i) const { return lines_[i]; }
  [[nodiscard]] const std::string_view* begin() const { return lines_.get(); }
  [[nodiscard]] const std::string_view* end() const { return lines_.get() + size_; }

 private:
  static constexpr std::size_t kFirstRoom = 256;

  void allocate(std::size_t count) {
    lines_ = std::make_unique<std::string_view[]>(count);
    allocated_ = count;
  }

  std::unique_ptr<std::string_view[]> lines_;
  std::size_t capacity_;
  std::size_t allocated_ = 0;
  std::size_t size_ = 0;
};

}  // namespace stpconv
