// The walk over the input's lines that applies the rule of the file's type.
#pragma once

#include <string>
#include <string_view>

#include "convert/file_type.h"
#include "text/encoded_lines.h"
#include "text/line_list.h"

namespace stpconv {

/// One pass over a whole input, fed batch by batch in file order. It keeps
/// what a rule needs to know across batches: whether the file's first line
/// has been seen, and the first line of a WTW pair whose second line is in
/// the next batch. The output is the same wherever the batches are cut.
class ConversionPass {
 public:
  explicit ConversionPass(FileType fileType) : fileType_(fileType) {}

  /// Converts the next batch of lines, appending the output to `outputLines`.
  void convertFile(const LineList& inputLines, EncodedLines& outputLines);

 private:
  void convertWtwLines(const LineList& inputLines, EncodedLines& outputLines);

  FileType fileType_;
  bool atFirstLine_ = true;
  bool wtwPairOpen_ = false;
  std::string_view wtwFirstLine_;  // the open pair's first line, while one is open
  std::string wtwFirstLineCopy_;   // its bytes, once its batch is gone
};

}  // namespace stpconv
