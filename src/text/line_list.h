// A batch of input lines, in file order.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace stpconv {

/// An ordered batch of text lines. The lines are views into the block they
/// were read from, so a batch is valid only until the next one is loaded.
/// Clearing keeps the capacity: refilling a batch allocates nothing.
class LineList {
 public:
  void append(std::string_view line) { lines_.push_back(line); }
  void clear() { lines_.clear(); }
  [[nodiscard]] bool empty() const { return lines_.empty(); }
  [[nodiscard]] std::size_t size() const { return lines_.size(); }
  [[nodiscard]] std::string_view operator[](std::size_t i) const { return lines_[i]; }
  [[nodiscard]] auto begin() const { return lines_.begin(); }
  [[nodiscard]] auto end() const { return lines_.end(); }

 private:
  std::vector<std::string_view> lines_;
};

}  // namespace stpconv
