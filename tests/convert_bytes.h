// Converts a whole input held in memory, fed to the block buffer in chunks
// of a chosen size, exactly as the program feeds it the reads of a file, in
// batches of a chosen number of lines.
#pragma once

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "convert/conversion_pass.h"
#include "text/line_buffer.h"

namespace stpconv::testing {

/// Feeds `input` to `buffer` in reads of at most `chunkSize` bytes, then its
/// end, and calls `takeLines()` after each: it must take every line it can.
template <typename TakeLines>
void feedInChunks(LineBuffer& buffer, std::string_view input, std::size_t chunkSize, TakeLines takeLines) {
  while (!input.empty()) {
    const auto space = buffer.freeSpace();
    const std::size_t n = std::min({chunkSize, space.size(), input.size()});
    std::memcpy(space.data(), input.data(), n);
    buffer.commit(n);
    input.remove_prefix(n);
    takeLines();
  }
  buffer.markEnd();
  takeLines();
}

inline std::string convertBytes(FileType type, std::string_view input,
                                std::size_t chunkSize = std::numeric_limits<std::size_t>::max(),
                                std::size_t blockSize = LineBuffer::kDefaultBlockSize,
                                std::size_t batchLines = LineList::kDefaultCapacity) {
  LineBuffer buffer(blockSize);
  ConversionPass pass(type);
  LineList lines(batchLines);
  EncodedLines out;
  std::string result;
  feedInChunks(buffer, input, chunkSize, [&] {
    do {  // a batch holds a bounded number of lines: take until one is not full
      lines.clear();
      buffer.takeLines(lines);
      out.clear();
      pass.convertFile(lines, out);
      result.append(out.bytes());
    } while (lines.full());
  });
  return result;
}

}  // namespace stpconv::testing
