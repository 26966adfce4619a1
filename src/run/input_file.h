// Reading the input file, batch by batch, as lines.
#pragma once

#include <string>

#include "text/line_buffer.h"
#include "text/line_list.h"

namespace stpconv {

/// The input file, open for reading as raw bytes, with its block buffer.
class InputFile {
 public:
  InputFile() = default;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  ~InputFile() { close(); }

  /// Opens `name` and reads its first block. Fails for anything that cannot
  /// be read as a file: a missing or unreadable file, a directory.
  [[nodiscard]] bool open(const std::string& name);
  /// Reads the next block into the buffer; false on a read error.
  [[nodiscard]] bool readMore();
  void close();
  [[nodiscard]] int fd() const { return fd_; }
  [[nodiscard]] LineBuffer& buffer() { return buffer_; }

 private:
  int fd_ = -1;
  LineBuffer buffer_;
};

enum class LoadStatus { Lines, LastLines, ReadFailed };

/// Replaces `inputLines` with the next batch: at least one line, unless the
/// read fails. LastLines marks the batch that ends with the file's last line.
/// The lines are valid until the next call.
[[nodiscard]] LoadStatus loadInputLines(InputFile& file, LineList& inputLines);

}  // namespace stpconv
