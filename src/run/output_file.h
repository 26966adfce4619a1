// Writing the output file and its console echo.
#pragma once

#include <string>
#include <string_view>

#include "run/console.h"
#include "text/encoded_lines.h"

namespace stpconv {

/// The output file, created or emptied when the run reaches it.
class OutputFile {
 public:
  OutputFile() = default;
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();

  /// Creates `outputName`, or empties it. When the name leads to the input
  /// file itself (through a link), the input is kept whole until `close`.
  [[nodiscard]] bool create(const std::string& outputName, int inputFd);
  [[nodiscard]] bool write(std::string_view bytes);
  /// Completes the file; false when any of it may not have reached the disk.
  [[nodiscard]] bool close();

 private:
  int fd_ = -1;       // where the bytes are written
  int finalFd_ = -1;  // the output file, while fd_ is a scratch file standing in for it
};

/// Echoes a batch of output lines on the console, then writes it to the
/// file. Only the file's failure counts: the echo never costs the file.
[[nodiscard]] bool writeOutputFile(Console& console, OutputFile& output, const EncodedLines& outputLines);

}  // namespace stpconv
