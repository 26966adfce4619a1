#include "convert/rules.h"

#include "convert/split_pair.h"
#include "text/text_line.h"

namespace stpconv {
namespace {

void convertKeyValueLine(std::string_view line, char separator, EncodedLines& outputLines) {
  if (const auto pair = splitPair(line, separator)) {
    outputLines.appendFields(pair->pairKey, pair->pairValue);
  }
}

}  // namespace

void convertZtpLine(std::string_view line, bool isFirstLine, EncodedLines& outputLines) {
  // The first line is the message itself: never split, commas and quotes kept.
  if (isFirstLine) {
    outputLines.appendLine({"EVENT MESSAGE=\"", lineBody(line), "\""});
    return;
  }
  if (const auto pair = splitPair(line, ',')) {
    outputLines.appendFields(pair->pairValue, pair->pairKey);
  }
}

bool startsWtwPair(std::string_view line) { return !lineBody(line).empty(); }

void convertWtwLine(std::string_view firstLine, std::string_view secondLine, EncodedLines& outputLines) {
  outputLines.appendFields(lineBody(secondLine), lineBody(firstLine));
}

void convertTypLine(std::string_view line, EncodedLines& outputLines) {
  convertKeyValueLine(line, ':', outputLines);
}

void convertCsvLine(std::string_view line, EncodedLines& outputLines) {
  convertKeyValueLine(line, ',', outputLines);
}

}  // namespace stpconv
