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

inline std::string convertBytes(FileType type, std::string_view input,
                                std::size_t chunkSize = std::numeric_limits<std::size_t>::max(),
                                std::size_t blockSize = LineBuffer::kDefaultBlockSize,
                                std::size_t batchLines = LineList::kDefaultCapacity) {
  LineBuffer buffer(blockSize);
  ConversionPass pass(type);
  LineList lines(batchLines);
  EncodedLines out;
  std::string result;
  auto convertTaken = [&] {
    do {  // a batch holds a bounded number of lines: take until one is not full
      lines.clear();
      buffer.takeLines(lines);
      out.clear();
      pass.convertFile(lines, out);
      result.append(out.bytes());
    } while (lines.full());
  };
  while (!input.empty()) {
    const auto space = buffer.freeSpace();
    const std::size_t n = std::min({chunkSize, space.size(), input.size()});
    std::memcpy(space.data(), input.data(), n);
    buffer.commit(n);
    input.remove_prefix(n);
    convertTaken();
  }
  buffer.markEnd();
  convertTaken();
  return result;
}

}  // namespace stpconv::testing
