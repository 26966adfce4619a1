// Text lines as the converter sees them: the bytes of one input line, cut at
// the first NUL, without the LF that ended it.
#pragma once

#include <cstring>
#include <string_view>

namespace stpconv {

/// The text of one raw input line: every byte before its first NUL.
inline std::string_view widenLine(std::string_view bytes) {
  const void* nul = std::memchr(bytes.data(), '\0', bytes.size());
  if (nul == nullptr) return bytes;
  return bytes.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - bytes.data()));
}

/// A line without its last character (normally the CR of a CR LF line end);
/// empty for a line of zero or one character.
inline std::string_view lineBody(std::string_view line) {
  return line.empty() ? line : line.substr(0, line.size() - 1);
}

}  // namespace stpconv
