// The four line rules. Each appends at most one line to `outputLines`.
#pragma once

#include <string_view>

#include "text/encoded_lines.h"

namespace stpconv {

/// ZTP: the file's first line becomes EVENT MESSAGE="<body>"; every later
/// line KEY,VALUE becomes VALUE TAB KEY.
void convertZtpLine(std::string_view line, bool isFirstLine, EncodedLines& outputLines);

/// WTW: whether `line` can open a pair (its body is not empty).
[[nodiscard]] bool startsWtwPair(std::string_view line);
/// WTW: a pair of lines becomes the second's body TAB the first's body.
void convertWtwLine(std::string_view firstLine, std::string_view secondLine, EncodedLines& outputLines);

/// TYP: KEY:VALUE becomes KEY TAB VALUE.
void convertTypLine(std::string_view line, EncodedLines& outputLines);

/// CSV: KEY,VALUE becomes KEY TAB VALUE.
void convertCsvLine(std::string_view line, EncodedLines& outputLines);

}  // namespace stpconv
