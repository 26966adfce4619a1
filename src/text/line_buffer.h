// The block buffer between the reads of a file and its lines.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "text/line_list.h"

namespace stpconv {

/// Holds the bytes of the input between reads and hands them out as whole
/// lines. Lines are served straight out of the block; only the unfinished
/// line at the end of a block is kept, and moved to the front, for the next
/// read to complete. A line longer than the buffer makes the buffer grow.
class LineBuffer {
 public:
  static constexpr std::size_t kDefaultBlockSize = std::size_t{512} * 1024;

  explicit LineBuffer(std::size_t blockSize = kDefaultBlockSize) : capacity_(blockSize) {}

  /// Room for the next read, after the unfinished line. Invalidates the lines
  /// handed out before. Empty only when no memory can be had for it.
  [[nodiscard]] std::span<char> freeSpace();
  /// Records that the first `count` bytes of the free space were filled.
  void commit(std::size_t count);
  /// Records that the input has ended.
  void markEnd() { atEnd_ = true; }
  /// Appends every complete line not yet taken to `lines`; once the input
  /// has ended, also the last line, the bytes after the last LF (possibly
  /// none), exactly once.
  void takeLines(LineList& lines);
  /// True once the last line has been taken.
  [[nodiscard]] bool finished() const { return finished_; }

 private:
  [[nodiscard]] bool grow();

  std::unique_ptr<char[]> data_;
  std::vector<const char*> lineEnds_;  // scratch: where the lines of one batch end
  std::size_t capacity_;
  std::size_t begin_ = 0;  // first byte not yet handed out as part of a line
  std::size_t end_ = 0;    // end of the bytes read so far
  bool atEnd_ = false;
  bool finished_ = false;
};

}  // namespace stpconv
