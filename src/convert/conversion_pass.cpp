#include "convert/conversion_pass.h"

#include "convert/rules.h"

namespace stpconv {

void ConversionPass::convertFile(const LineList& inputLines, EncodedLines& outputLines) {
  switch (fileType_) {
    case FileType::Ztp:
      for (std::string_view line : inputLines) {
        convertZtpLine(line, atFirstLine_, outputLines);
        atFirstLine_ = false;
      }
      break;
    case FileType::Wtw:
      convertWtwLines(inputLines, outputLines);
      break;
    case FileType::Typ:
      for (std::string_view line : inputLines) convertTypLine(line, outputLines);
      break;
    case FileType::Csv:
      for (std::string_view line : inputLines) convertCsvLine(line, outputLines);
      break;
  }
}

// Pairing depends on the lines before: a line that cannot open a pair is
// passed over, and the line after a pair's first line is its second whatever
// it holds. A first line left open when the input ends yields nothing.
void ConversionPass::convertWtwLines(const LineList& inputLines, EncodedLines& outputLines) {
  for (std::string_view line : inputLines) {
    if (wtwPairOpen_) {
      convertWtwLine(wtwFirstLine_, line, outputLines);
      wtwPairOpen_ = false;
    } else if (startsWtwPair(line)) {
      wtwFirstLine_ = line;
      wtwPairOpen_ = true;
    }
  }
  // The batch's lines die with it; a pair still open keeps its first line.
  if (wtwPairOpen_ && wtwFirstLine_.data() != wtwFirstLineCopy_.data()) {
    wtwFirstLineCopy_.assign(wtwFirstLine_);
    wtwFirstLine_ = wtwFirstLineCopy_;
  }
}

}  // namespace stpconv
